#include "persist/utf16_text.h"

#include <cstdint>

#include "base/utf8.h"

namespace tabulon {

namespace {

using namespace std::string_view_literals;

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

std::optional<std::string> utf16WithBomToUtf8(std::string_view bytes) {
    bool bigEndian = false;
    if (bytes.starts_with("\xFE\xFF"sv))
        bigEndian = true;
    else if (!bytes.starts_with("\xFF\xFE"sv) || bytes.starts_with("\xFF\xFE\0\0"sv))
        return std::nullopt;

    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        return bigEndian ? (char32_t{first} << 8 | second) : (char32_t{second} << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const std::size_t size = bytes.size();
    std::size_t i = 0; // the mark itself is converted too
    while (i + 1 < size) {
        char32_t c = unit(i);
        i += 2;
        if (isHighSurrogate(c) && i + 1 < size && isLowSurrogate(unit(i))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i) - 0xDC00);
            i += 2;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    if (i < size)
        appendUtf8(out, kReplacement);
    return out;
}

} // namespace tabulon
