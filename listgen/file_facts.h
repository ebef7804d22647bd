#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// What the file system says of a file: its size in bytes and the day it was
// last changed (local time, YYYY-MM-DD). Empty for a file that is not there.
struct FileFacts {
    std::optional<std::uint64_t> size;
    std::string date;
};

FileFacts readFileFacts(std::string_view path);

} // namespace tabulon
