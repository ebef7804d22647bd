#include <gtest/gtest.h>

#include <string>

#include "persist/ini_document.h"
#include "persist/utf16_text.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

struct ReadCase : test::Sentence {
    std::string_view file;
    std::string_view section, key;
    std::optional<std::string_view> value;
};

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniDocument::parse(c.file).get(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniRead,
    testing::Values(
        ReadCase{"a key in its section", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"names ignore blanks around them", " [ S ] \n  k\t= v\n", "S", "k", " v"},
        ReadCase{"the value is kept whole with quotes and semicolons", "[S]\nk= \"<td>&nbsp;</td>\" ; x=y \n",
                 "S", "k", " \"<td>&nbsp;</td>\" ; x=y "},
        ReadCase{"a lone CR ends a line", "[S]\rk=v\rj=w", "S", "j", "w"},
        ReadCase{"a byte order mark is skipped", "\xEF\xBB\xBF[S]\nk=v", "S", "k", "v"},
        ReadCase{"a comment line is no key", "[S]\n;k=v\n", "S", "k", std::nullopt},
        ReadCase{"the first of two keys wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        ReadCase{"a key before any section belongs to none", "k=v\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"a key of another section is not found", "[A]\nk=v\n[B]\n", "B", "k", std::nullopt},
        ReadCase{"a missing section gives nothing", "[A]\nk=v\n", "B", "k", std::nullopt},
        ReadCase{"a line without equals sign is no key", "[S]\nk\n", "S", "k", std::nullopt}),
    test::bySentence);

// Where a written key lands; every other byte stays.
TEST(IniWrite, AKeyIsReplacedInPlaceOrAddedAtTheEndOfItsSection) {
    const struct {
        std::string before, section, key, value, after;
    } cases[] = {
        {"; mine\n[A]\nk = old\nother=1\r\n\r\n[B]\rk=b\r", "a", "K", "new",
         "; mine\n[A]\nk =new\r\nother=1\r\n\r\n[B]\rk=b\r"},
        {"[A]\nx=1\n\n[B]\ny=2", "A", "z", "3", "[A]\nx=1\nz=3\r\n\n[B]\ny=2"},
        {"[A]\nx=1\n\n[B]\ny=2", "B", "w", "4", "[A]\nx=1\n\n[B]\ny=2\r\nw=4\r\n"},
        {"\xEF\xBB\xBF[A]\nx=1", "C", "k", "v", "\xEF\xBB\xBF[A]\nx=1\r\n[C]\r\nk=v\r\n"},
        {"", "S", "k", "", "[S]\r\nk=\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::parse(c.before);
        ASSERT_TRUE(doc.set(c.section, c.key, c.value)) << c.before;
        EXPECT_EQ(doc.serialize(), c.after) << c.before;
    }
}

TEST(IniWrite, NamesThatCouldNotBeReadBackAreRefused) {
    IniDocument doc = IniDocument::parse("[S]\nk=v\n");
    // Line breaks, '=' and a leading ';' or '[' in a name are in the fuzz target's saved inputs.
    const std::pair<const char*, const char*> names[] = {{"S", ""}, {"S", " "}, {"a]b", "k"}};
    for (const auto& [section, key] : names)
        EXPECT_FALSE(doc.set(section, key, "x")) << section << " / " << key;
    EXPECT_EQ(doc.serialize(), "[S]\nk=v\n");
}

// The bytes of a file saved as UTF-16 with its byte-order mark, as Notepad saves "Unicode".
std::string utf16File(std::u16string_view text, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        out.push_back(static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF));
        out.push_back(static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8));
    }
    return out;
}

// Such a file is read as its text in UTF-8.
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
