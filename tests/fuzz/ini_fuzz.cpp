// The INI reader and writer: any bytes parse and serialize back unchanged, and
// a UTF-16 file as its conversion to valid UTF-8; any value written with a
// valid name reads back as written, and the other keys keep their values.
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "persist/ini_document.h"
#include "persist/utf16_text.h"

using namespace tabulon;

namespace {

std::string oneLine(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            out += "{{CRLF}}";
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

// A field cannot hold 0xFF, which both UTF-16 marks need: a file that starts
// with 0xFE and '<' or '>' stands for one with the little- or big-endian mark.
std::string withUtf16Mark(std::string_view field) {
    if (field.starts_with("\xFE<"))
        return "\xFF\xFE" + std::string(field.substr(2));
    if (field.starts_with("\xFE>"))
        return "\xFE\xFF" + std::string(field.substr(2));
    return std::string(field);
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80             ? 1
                                   : (c & 0xE0) == 0xC0 ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 0;
        if (length == 0 || i + length > s.size())
            return false;
        char32_t code = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fields fields(data, size);
    const std::string file = withUtf16Mark(fields.next());
    const std::string_view section = fields.next();
    const std::string_view key = fields.next();
    const std::string_view value = fields.next();
    const std::string_view otherSection = fields.next();
    const std::string_view otherKey = fields.next();

    const auto utf8 = utf16WithBomToUtf8(file);
    if (utf8)
        check(isValidUtf8(*utf8));
    const std::string_view text = utf8 ? *utf8 : file;

    IniDocument doc = IniDocument::parse(file);
    check(doc.serialize() == text);

    const auto otherBefore = doc.get(otherSection, otherKey);
    const std::string otherValue = otherBefore ? std::string(*otherBefore) : std::string();
    const bool sameKey = IniDocument::parse("[" + std::string(section) + "]\n" + std::string(key) + "=1")
                             .get(otherSection, otherKey)
                             .has_value();

    if (!doc.set(section, key, value)) {
        check(!IniDocument::isValidSection(section) || !IniDocument::isValidKey(key));
        check(doc.serialize() == text);
        return 0;
    }
    const IniDocument reread = IniDocument::parse(doc.serialize());
    check(reread.get(section, key) == oneLine(value));
    if (otherBefore && !sameKey)
        check(reread.get(otherSection, otherKey) == otherValue);
    return 0;
}
