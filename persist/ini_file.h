#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "posix/io_result.h"

namespace tabulon {

// Values of one section as one read of the file found them, in the order they
// were asked for; nothing for a key the file lacks.
using IniValues = std::vector<std::optional<std::string>>;
using IniEntry = std::pair<std::string_view, std::string_view>; // key, value

// The one way to an INI file: reads and writes values of one file. Every call
// is a complete operation on the file: nothing stays open and nothing is cached.
class CIniFIle {
public:
    void INIFile(std::string path) { path_ = std::move(path); }

    // Several keys of one section from one read of the file, so that they
    // belong together; a file that cannot be read is an error. One value per
    // key, in the order of `keys`.
    Result<IniValues, IoError> readSection(std::string_view section,
                                           std::span<const std::string_view> keys) const;

    // Replaces the whole file in one step with this one section, its keys in
    // the order given; a failure leaves the old file whole.
    IoResult replaceWithSection(std::string_view section, std::span<const IniEntry> entries);

private:
    std::string path_;
};

} // namespace tabulon
