#include <gtest/gtest.h>

#include "persist/utf16_text.h"
#include "support/temp_dir.h"
#include "support/utf16_bytes.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using test::utf16File;

struct Utf16Case : test::Sentence {
    std::string bytes;
    std::optional<std::string> utf8;
};

class Utf16Conversion : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16Conversion, GivesTheTextInUtf8) {
    EXPECT_EQ(utf16WithBomToUtf8(GetParam().bytes), GetParam().utf8);
}

const std::string kBom8 = "\xEF\xBB\xBF";
const std::string kReplacement = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Files, Utf16Conversion,
    testing::Values(
        Utf16Case{"little endian", utf16File(u"[S]\r\nk=\u00e9\u20ac"),
                  kBom8 + "[S]\r\nk=\xC3\xA9\xE2\x82\xAC"},
        Utf16Case{"big endian", utf16File(u"k=\u00e9\u20ac\n", true), kBom8 + "k=\xC3\xA9\xE2\x82\xAC\n"},
        Utf16Case{"a surrogate pair is one character", utf16File(u"a\U0001F600b"),
                  kBom8 + "a\xF0\x9F\x98\x80"
                          "b"},
        Utf16Case{"a surrogate pair big endian", utf16File(u"\U0010FFFF", true), kBom8 + "\xF4\x8F\xBF\xBF"},
        Utf16Case{"a lone high surrogate",
                  utf16File(u"a") + "\x3D\xD8"
                                    "b\0"s,
                  kBom8 + "a" + kReplacement + "b"},
        Utf16Case{"a high surrogate at the end", utf16File(u"a") + "\x3D\xD8", kBom8 + "a" + kReplacement},
        Utf16Case{"a lone low surrogate",
                  utf16File(u"a") + "\x00\xDE"
                                    "b\0"s,
                  kBom8 + "a" + kReplacement + "b"},
        Utf16Case{"two high surrogates", utf16File(u"") + "\x3D\xD8\x3D\xD8\x00\xDE"s,
                  kBom8 + kReplacement + "\xF0\x9F\x98\x80"},
        Utf16Case{"an odd last byte", utf16File(u"ab") + "c", kBom8 + "ab" + kReplacement},
        Utf16Case{"a NUL character is kept", utf16File(u"a\0b"s), kBom8 + "a\0b"s},
        Utf16Case{"UTF-8 is left alone", "\xEF\xBB\xBF[S]\nk=\xC3\xA9", std::nullopt},
        Utf16Case{"text without a mark is left alone", "[\0S\0]\0"s, std::nullopt},
        Utf16Case{"a UTF-32 mark is left alone", "\xFF\xFE\0\0[\0\0\0"s, std::nullopt},
        Utf16Case{"a single FF byte is left alone", "\xFF", std::nullopt}),
    test::bySentence);

} // namespace
} // namespace tabulon
