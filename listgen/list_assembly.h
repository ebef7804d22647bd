#pragma once

#include <string_view>

#include "base/template_set.h"
#include "base/width.h"
#include "listgen/sink.h"

namespace tabulon {

// Writes the whole list for a selection text: opening comment and top text,
// one entry per file in the selection's order, bottom text and closing
// comment. A width that fails the check writes nothing; the check is returned.
WidthCheck generateList(const TemplateSet& set, std::string_view selection, Sink& sink);

} // namespace tabulon
