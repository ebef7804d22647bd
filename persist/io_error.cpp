#include "persist/io_error.h"

namespace tabulon {

std::string IoError::message() const {
    return file + ": " + code.message();
}

} // namespace tabulon
