#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace tabulon {

// What a call came to: ok() with its value, or the error that stopped it.
// `Value` is void for calls that give nothing back. Plain C++ code here reports
// every failure that has a reason this way (a plain std::optional is left for
// "there is none", as in parsing); being [[nodiscard]], a result cannot be
// dropped unseen.
template <class Value, class Error> class [[nodiscard]] Result {
    using Stored = std::conditional_t<std::is_void_v<Value>, std::monostate, Value>;

public:
    Result() requires std::is_void_v<Value>
    = default;
    Result(Stored value) requires(!std::is_void_v<Value>) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    // Only when !ok().
    const Error& error() const { return *error_; }
    // Only when ok().
    const Stored& value() const requires(!std::is_void_v<Value>) { return value_; }

private:
    Stored value_{};
    std::optional<Error> error_;
};

} // namespace tabulon
