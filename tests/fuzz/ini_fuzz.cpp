// The INI reader and writer: any bytes parse and serialize back unchanged;
// any value written with a valid name reads back as written, and the other
// keys keep their values.
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "persist/ini_document.h"

using namespace tabulon;

namespace {

std::string OneLine(std::string_view value) {
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

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fields fields(data, size);
    const std::string_view file = fields.Next();
    const std::string_view section = fields.Next();
    const std::string_view key = fields.Next();
    const std::string_view value = fields.Next();
    const std::string_view otherSection = fields.Next();
    const std::string_view otherKey = fields.Next();

    IniDocument doc = IniDocument::Parse(file);
    Check(doc.Serialize() == file);

    const auto otherBefore = doc.Get(otherSection, otherKey);
    const std::string otherValue = otherBefore ? std::string(*otherBefore) : std::string();
    const bool sameKey = IniDocument::Parse("[" + std::string(section) + "]\n" + std::string(key) + "=1")
                             .Get(otherSection, otherKey)
                             .has_value();

    if (!doc.Set(section, key, value)) {
        Check(!IniDocument::IsValidSection(section) || !IniDocument::IsValidKey(key));
        Check(doc.Serialize() == file);
        return 0;
    }
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    Check(reread.Get(section, key) == OneLine(value));
    if (otherBefore && !sameKey)
        Check(reread.Get(otherSection, otherKey) == otherValue);
    return 0;
}
