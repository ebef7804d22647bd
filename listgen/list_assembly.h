#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/template_set.h"
#include "listgen/entry_processor.h"
#include "listgen/sink.h"

namespace tabulon {

// Writes the whole list for a selection text: opening comment and top text,
// one entry per file in the selection's order, bottom text and closing
// comment. `width` is the set's width as checkWidth gave it: the caller checks
// it first, to tell the user before anything starts. With `media`, its
// placeholders are filled; `progress` watches the list, which then may end in
// ListCancelled (as in ThumbnailFailure); `leaveOut` says which files it
// leaves out; `newFolder` is written before each folder's entries; the :rel
// forms are relative to `relativeTo` (empty: the current folder).
void generateList(const TemplateSet& set, std::uint32_t width, std::string_view selection, Sink& sink,
                  std::optional<MediaUse> media = std::nullopt, ListProgress progress = {},
                  LeaveOut leaveOut = {}, std::string_view newFolder = {}, std::string_view relativeTo = {});

// The number of files in a selection text.
std::size_t countSelectedFiles(std::string_view selection);

} // namespace tabulon
