#pragma once

#include <optional>
#include <string>
#include <system_error>

namespace tabulon {

// A failed read or write of one file, for a message that names both.
struct IoError {
    std::string file;
    std::error_code code;

    // "<file>: <reason>"
    std::string message() const;
};

using IoResult = std::optional<IoError>; // nullopt when it worked

} // namespace tabulon
