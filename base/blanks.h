#pragma once

#include <string_view>

namespace tabulon {

// Blanks as the INI files and number fields treat them: spaces and tabs.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace tabulon
