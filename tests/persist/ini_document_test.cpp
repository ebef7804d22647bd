#include <gtest/gtest.h>

#include <string>

#include "persist/ini_document.h"
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
        ReadCase{"names ignore letter case", "[Configuration]\nTXTWIDTH=4\n", "configuration", "txtWidth",
                 "4"},
        ReadCase{"names ignore blanks around them", " [ S ] \n  k\t= v\n", "S", "k", " v"},
        ReadCase{"the value is kept whole with quotes and semicolons", "[S]\nk= \"<td>&nbsp;</td>\" ; x=y \n",
                 "S", "k", " \"<td>&nbsp;</td>\" ; x=y "},
        ReadCase{"an empty value is there", "[S]\nk=\n", "S", "k", ""},
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

} // namespace
} // namespace tabulon
