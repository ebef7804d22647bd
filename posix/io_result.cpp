#include "posix/io_result.h"

namespace tabulon {

std::string IoError::message() const {
    return file + ": " + code.message();
}

} // namespace tabulon
