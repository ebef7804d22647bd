#pragma once

#include <string>
#include <system_error>

#include "posix/result.h"

namespace tabulon {

// A failed read or write of one file, for a message that names both.
struct IoError {
    std::string file;
    std::error_code code;

    // "<file>: <reason>"
    std::string message() const;
};

// What a read or write of a file came to.
using IoResult = Result<void, IoError>;

} // namespace tabulon
