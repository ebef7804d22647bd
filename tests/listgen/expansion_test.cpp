#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "listgen/entry_processor.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

// A template set that shows only what a test sets.
TemplateSet bare(std::string entry, std::string endEntry = "") {
    TemplateSet set;
    set.width = "1000";
    set.newEntry = std::move(entry);
    set.endEntry = std::move(endEntry);
    set.addComments = kUnchecked;
    return set;
}

struct File {
    std::string folder; // empty: name is the full path
    std::string name;
};

std::string expand(const TemplateSet& set, const std::vector<File>& files, std::uint32_t width = 1000) {
    StringSink sink;
    EntryProcessor processor(set, width, sink);
    processor.start();
    for (const File& f : files)
        processor.ProcessFile(f.folder, f.name);
    processor.finish();
    return sink.take();
}

std::string entry(const std::string& entry, const File& file) {
    return expand(bare(entry), {file});
}

TEST(Placeholders, BothFileFormsGiveTheSameValues) {
    const std::string text = "{{FILE}}|{{PATH}}|{{BASE}}|{{EXT}}|{{SHORTEXT}}";
    const std::string expected = "/pics/photo.jpg|/pics/|photo|.jpg|jpg";
    EXPECT_EQ(entry(text, {"", "/pics/photo.jpg"}), expected);
    EXPECT_EQ(entry(text, {"/pics", "photo.jpg"}), expected);
    // A folder that already ends in a separator is not given a second one.
    EXPECT_EQ(entry(text, {"/pics/", "photo.jpg"}), expected);
    EXPECT_EQ(entry(text, {"/", "photo.jpg"}), "/photo.jpg|/|photo|.jpg|jpg");
    // A backslash is part of a name, so a folder ending in one still gets its slash.
    EXPECT_EQ(entry(text, {"/D/x\\", "a.jpg"}), "/D/x\\/a.jpg|/D/x\\/|a|.jpg|jpg");
}

TEST(Placeholders, TemplateTextKeepsItsBackslashes) {
    EXPECT_EQ(entry("<a href=\"x\\{{BASE:url}}\">\\{{FILE}}\\</a>\\", {"/D", "a\\b.jpg"}),
              "<a href=\"x\\a%5Cb\">\\/D/a\\b.jpg\\</a>\\");
}

TEST(Placeholders, OnlyExactSpellingsAreReplacedEverywhereTheyStand) {
    EXPECT_EQ(entry("{{file}}{{Inc}}{{ BASE }}{{BASE}}{{BASE}}", {"", "a.b"}), "{{file}}{{Inc}}{{ BASE }}aa");
    EXPECT_EQ(expand(bare("<{{BASE}}>", "[{{FILE}}]{{CRLF}}"), {{"", "/x/y.z"}}), "<y>[/x/y.z]\r\n");
}

TEST(Placeholders, TopRowAndBottomTakeOnlyLineBreaks) {
    TemplateSet set = bare("e");
    set.top = "{{FILE}}A{{CRLF}}";
    set.newRow = "{{BASE}}|";
    set.bottom = "{{CRLF}}{{INC}}";
    EXPECT_EQ(expand(set, {{"", "a"}, {"", "b"}}, 1), "{{FILE}}A\r\ne{{BASE}}|e\r\n{{INC}}");
}

TEST(Placeholders, TextFromANameIsNeverReadAsAPlaceholderOrInclude) {
    test::TempDir dir;
    const std::string secret = "{{INC(" + dir.write("secret", "SECRET") + ")}}";
    EXPECT_EQ(entry(secret, {"", "f"}), "\r\nSECRET"); // the file is there to be read
    // A name holding placeholders and include markers is listed as it is.
    const std::string name = "x" + secret + "{{FILE}}{{CRLF}}.jpg";
    EXPECT_EQ(entry("<{{FILE}}>", {"", name}), "<" + name + ">");
    EXPECT_EQ(entry("{{INC(-{{BASE}})}}", {"", "secret)}}"}), "");
    // A ")}}" inside a name does not close an include the template opened.
    dir.write("a)}}b.txt", "caption");
    EXPECT_EQ(entry("{{INC({{PATH}}{{BASE}}.txt)}}", {dir.path().string(), "a)}}b.jpg"}), "\r\ncaption");
    // Nor does an empty value let the template's text around it join up.
    EXPECT_EQ(entry("{{{{EXT}}FILE}}", {"", "README"}), "{{FILE}}");
}

TEST(Rows, AFreshListStartsTheCountAgain) {
    TemplateSet set = bare("[{{BASE}}{{N}}]");
    set.newRow = "|";
    StringSink sink;
    EntryProcessor processor(set, 2, sink);
    processor.start();
    processor.ProcessFile("a");
    processor.start();
    processor.ProcessFile("b");
    processor.ProcessFile("c");
    processor.ProcessFile("d");
    EXPECT_EQ(sink.take(), "[a1][b1][c2]|[d3]");
}

class Includes : public testing::Test {
protected:
    test::TempDir dir;
    std::string inc(const std::string& name) { return "{{INC(" + (dir / name) + ")}}"; }
};

TEST_F(Includes, EmptyMissingAndUnterminatedIncludes) {
    dir.write("x", "X");
    EXPECT_EQ(entry("a{{INC()}}b", {"", "f"}), "ab");
    EXPECT_EQ(entry("a" + inc("missing") + "b", {"", "f"}), "ab");
    // An include without its end stays as written, and so does every later one.
    EXPECT_EQ(entry(inc("x") + "-{{INC(a-{{INC(b", {"", "f"}), "\r\nX-{{INC(a-{{INC(b");
    // An include's name runs to the first end marker after it.
    EXPECT_EQ(entry("<{{INC(a" + inc("x") + ">", {"", "f"}), "<>");
    EXPECT_EQ(entry(inc("x") + "-" + inc("x"), {"", "f"}), "\r\nX-\r\nX");
}

TEST_F(Includes, TheFilesOwnTextIsScannedForIncludes) {
    dir.write("inner", "deep");
    const std::string self = dir.write("self.txt", "<" + inc("inner") + "{{BASE}}>");
    EXPECT_EQ(entry("{{INC}}", {"", self}), "\r\n<\r\ndeep{{BASE}}>");
    // Template text and the file's text can make up a marker together.
    const std::string tail = dir.write("tail.txt", "{{INC(" + (dir / "inner"));
    EXPECT_EQ(entry("{{INC}})}}", {"", tail}), "\r\n\r\ndeep");
}

TEST_F(Includes, TheFilesOwnTextIsReadOnceHoweverOftenItStands) {
    // Each read of this file changes its text: a second read would show.
    const std::string counter = "/proc/self/io";
    if (!std::filesystem::exists(counter))
        GTEST_SKIP() << "no " << counter;
    const std::string out = entry("{{INC}}|{{INC}}", {"", counter});
    const std::size_t bar = out.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_FALSE(out.substr(0, bar).empty());
    EXPECT_EQ(out.substr(0, bar), out.substr(bar + 1));
}

} // namespace
} // namespace tabulon
