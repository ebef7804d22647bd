#pragma once

#include <string>
#include <string_view>

namespace tabulon::test {

// The bytes of a file saved as UTF-16 with its byte-order mark.
inline std::string utf16File(std::u16string_view text, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

} // namespace tabulon::test
