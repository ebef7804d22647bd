#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "posix/result.h"

namespace tabulon {

inline constexpr std::string_view kEnterWidth = "Enter a width";
inline constexpr std::string_view kEnterWidthAboveZero = "Enter a width > 0";

// A whole number from 1 to 2147483647, blanks around it allowed, or the
// message that tells the user what is wrong.
using WidthCheck = Result<std::uint32_t, std::string_view>;

WidthCheck checkWidth(std::string_view text);

// Whole decimal number with optional blanks around it and no sign; nullopt
// when there is none or it exceeds `max`.
[[nodiscard]] std::optional<std::uint32_t> parseWholeNumber(std::string_view text, std::uint32_t max);

} // namespace tabulon
