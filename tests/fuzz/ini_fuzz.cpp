// The INI reader and writer: any bytes parse and serialize back unchanged, and
// a UTF-16 file as its conversion to valid UTF-8; any value written with a
// valid name reads back as written, and the other keys keep their values.
#include <cstdlib>
#include <string>

#include "base/utf8.h"
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
