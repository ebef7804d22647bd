#pragma once

#include <optional>
#include <string_view>

#include "base/template_set.h"
#include "base/width.h"
#include "listgen/entry_processor.h"
#include "listgen/sink.h"

namespace tabulon {

// Writes the whole list for a selection text: opening comment and top text,
// one entry per file in the selection's order, bottom text and closing
// comment. A width that fails the check writes nothing; the check is returned.
// With `media`, its placeholders are filled; `progress` watches the list,
// which then may end in ListCancelled (as in ThumbnailFailure); `leaveOut`
// says which files it leaves out.
WidthCheck generateList(const TemplateSet& set, std::string_view selection, Sink& sink,
                        std::optional<MediaUse> media = std::nullopt, ListProgress progress = {},
                        LeaveOut leaveOut = {});

// The number of files in a selection text.
std::size_t countSelectedFiles(std::string_view selection);

} // namespace tabulon
