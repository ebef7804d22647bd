#pragma once

#include <string>
#include <vector>

namespace tabulon {

// The thumbnails in a folder Tabulon made whose pictures are gone: names
// that follow the thumbnail naming rule, regular files, whose picture name
// no longer stands for a file beside the folder, or in a format no run writes
// any more. Sorted by name; empty for a folder Tabulon did not make.
std::vector<std::string> goneThumbnails(const std::string& folder);

// Deletes those of `names` in `folder` that are still such leftovers, each
// checked again just before. What could not be deleted, with the reason.
std::vector<std::string> pruneThumbnails(const std::string& folder, const std::vector<std::string>& names);

} // namespace tabulon
