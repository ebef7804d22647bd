#pragma once

#include <cstdint>
#include <string_view>

#include "base/template_set.h"
#include "listgen/entry_processor.h"
#include "listgen/sink.h"

namespace tabulon {

// Writes the whole list for a selection text: opening comment and top text,
// one entry per file in the selection's order, bottom text and closing
// comment. `width` is the set's width as checkWidth gave it: the caller checks
// it first, to tell the user before anything starts. A list with media may
// end in ThumbnailFailure, one with progress in ListCancelled.
void generateList(const TemplateSet& set, std::uint32_t width, std::string_view selection, Sink& sink,
                  ListOptions options = {});

// The number of files in a selection text.
std::size_t countSelectedFiles(std::string_view selection);

} // namespace tabulon
