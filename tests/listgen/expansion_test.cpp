#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "listgen/entry_processor.h"

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

// What the template does with a name, an include and the file's own text is
// checked against a model by the expansion fuzz target over its saved inputs.

TEST(Includes, TheFilesOwnTextIsReadOnceHoweverOftenItStands) {
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
