#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace tabulon {

// A failed read or write of one file, for a message that names both.
struct IoError {
    std::string file;
    std::error_code code;

    // "<file>: <reason>"
    std::string message() const;
};

// What a read or write of a file came to: ok(), or the error that stopped it.
class [[nodiscard]] IoResult {
public:
    IoResult() = default;
    IoResult(std::nullopt_t) {} // so that `return std::nullopt;` reads as "done"
    IoResult(IoError error) : error_(std::move(error)) {}

    bool ok() const { return !error_; }
    const IoError& error() const { return *error_; }

    // For callers that keep a failure under a name: `if (IoResult error = ...)`
    // is true on an error, and `error->message()` reads it.
    explicit operator bool() const { return !ok(); }
    const IoError* operator->() const { return &*error_; }
    const IoError& operator*() const { return *error_; }

private:
    std::optional<IoError> error_;
};

} // namespace tabulon
