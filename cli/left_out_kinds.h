#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulon::cli {

// The files a folder walk's types left out that a user would take for a
// picture or a video (a phone's HEIC and MOV, a scanner's TIFF, a camera's
// raw files), counted by extension. Junk beside them (Thumbs.db, .AAE,
// sidecars) is no such kind and stays out quietly.
class LeftOutKinds {
public:
    // Counts `name`, a file's own name, when it is of such a kind.
    void count(std::string_view name);
    bool empty() const { return kinds_.empty(); }

    // One line: "left out 12 .HEIC and 2 .MOV files, ...", pictures first.
    // Each kind is spelled as most of its files have it (of equally many,
    // the first in byte order: .HEIC before .heic). `thumbnails`: the list
    // makes thumbnails, so the kinds libvips reads get a hint how to add
    // them with `addTypes`, the option that adds types to the list's own.
    std::string message(bool thumbnails, std::string_view addTypes) const;

private:
    struct Kind {
        std::size_t known; // its row of the known kinds
        std::uint64_t files;
        std::vector<std::pair<std::string, std::uint64_t>> spellings; // with the dot
    };
    std::vector<Kind> kinds_;
};

} // namespace tabulon::cli
