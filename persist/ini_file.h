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
    const std::string& INIFile() const { return path_; }
    void INIFile(std::string path) { path_ = std::move(path); }

    // Sets the path to the two parts joined; touches no file.
    void CreateIni(std::string_view folder, std::string_view name);

    // The key's value, whole; empty when the file, section or key is missing.
    std::string GetFile(std::string_view section, std::string_view key) const;

    // Writes one key, creating file and section as needed; the file is
    // replaced in one step, so a failure leaves it as it was.
    IoResult WriteFile(std::string_view section, std::string_view key, std::string_view value);

    // Several keys of one section from one read of the file, so that they
    // belong together; unlike GetFile, a file that cannot be read is an error.
    // One value per key, in the order of `keys`.
    Result<IniValues, IoError> readSection(std::string_view section,
                                           std::span<const std::string_view> keys) const;

    // Replaces the whole file in one step with this one section, its keys in
    // the order given; a failure leaves the old file whole.
    IoResult replaceWithSection(std::string_view section, std::span<const IniEntry> entries);

private:
    static std::string JoinPath(std::string_view first, std::string_view second);

    std::string path_;
};

} // namespace tabulon
