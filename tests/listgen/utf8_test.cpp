#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"

namespace tabulon {
namespace {

TEST(Utf8, EachIllFormedPartBecomesOneReplacementCharacter) {
    struct Case {
        std::string sentence;
        std::string text;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{
             {"well formed text stays", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
             {"a Latin-1 byte", "caf\xE9!", "caf\uFFFD!"},
             {"a lone continuation byte", "\x80x", "\uFFFDx"},
             {"a sequence cut short by text", "\xE2\x82x", "\uFFFDx"},
             {"a sequence cut short by the end", "x\xF0\x9F\x98", "x\uFFFD"},
             {"an overlong form", "\xC0\xAF\xE0\x80\xAF", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
             {"a surrogate", "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},
             {"a code point above U+10FFFF", "\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},
             {"bytes no character starts with", "\xF5\xFF", "\uFFFD\uFFFD"},
         }) {
        EXPECT_EQ(validUtf8(c.text), c.expected) << c.sentence;
        EXPECT_EQ(isValidUtf8(c.text), c.text == c.expected) << c.sentence;
    }
}

} // namespace
} // namespace tabulon
