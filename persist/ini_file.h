#pragma once

#include <string>
#include <string_view>

#include "persist/io_error.h"

namespace tabulon {

// Reads and writes single values of one INI file. Every call is a complete
// operation on the file: nothing stays open and nothing is cached.
class CIniFIle {
public:
    const std::string& INIFile() const { return path_; }
    void INIFile(std::string New_IniPath) { path_ = std::move(New_IniPath); }

    // Sets the path to the two parts joined; touches no file.
    void CreateIni(std::string_view strDrv, std::string_view strDir);

    // The key's value, whole; empty when the file, section or key is missing.
    std::string GetFile(std::string_view strSection, std::string_view strKey) const;

    // Writes one key, creating file and section as needed; the file is
    // replaced in one step, so a failure leaves it as it was.
    IoResult WriteFile(std::string_view strSection, std::string_view strKey, std::string_view strValue);

private:
    static std::string JoinPath(std::string_view first, std::string_view second);

    std::string path_;
};

} // namespace tabulon
