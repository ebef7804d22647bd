#pragma once

// UTF-8 for text that comes from inside files (photo metadata), which may be
// in any encoding or damaged, on its way into a UTF-8 page. Header only: the
// media module uses it too, and it links nothing of the engine.
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

inline void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The bytes at `text`'s start (not empty) that make one character, and
// whether they do: an ill-formed start gives its longest part that could
// have begun a character (at least one byte), as Unicode counts the parts
// that each become one U+FFFD. Overlong forms, surrogates and code points
// above U+10FFFF are ill-formed.
struct Utf8Step {
    std::size_t length;
    bool valid;
};
inline Utf8Step utf8Step(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return {1, true};
    std::size_t trailing = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    for (std::size_t i = 1; i <= trailing; ++i) {
        if (i >= text.size())
            return {i, false};
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < low || byte > high)
            return {i, false};
        low = 0x80;
        high = 0xBF;
    }
    return {trailing + 1, true};
}

inline bool isValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Step step = utf8Step(text.substr(at));
        if (!step.valid)
            return false;
        at += step.length;
    }
    return true;
}

// `text` with each ill-formed part replaced by U+FFFD.
inline std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Step step = utf8Step(text.substr(at));
        if (step.valid)
            out.append(text.substr(at, step.length));
        else
            appendUtf8(out, 0xFFFD);
        at += step.length;
    }
    return out;
}

} // namespace tabulon
