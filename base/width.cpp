#include "base/width.h"

#include "base/blanks.h"

namespace tabulon {

std::optional<std::uint32_t> parseWholeNumber(std::string_view text, std::uint32_t max) {
    text = trimBlanks(text);
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > max)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

WidthCheck checkWidth(std::string_view text) {
    if (text.empty())
        return kEnterWidth;
    const auto value = parseWholeNumber(text, 2147483647u);
    if (!value || *value < 1)
        return kEnterWidthAboveZero;
    return *value;
}

} // namespace tabulon
