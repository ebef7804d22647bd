#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "listgen/entry_processor.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

// A template set that shows only what a test sets.
TemplateSet Bare(std::string entry, std::string endEntry = "") {
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

std::string Expand(const TemplateSet& set, const std::vector<File>& files, std::uint32_t width = 1000) {
    StringSink sink;
    EntryProcessor processor(set, width, sink);
    processor.ProcessFile({}, {}, true);
    for (const File& f : files)
        processor.ProcessFile(f.folder, f.name);
    processor.Finish();
    return sink.take();
}

std::string Entry(const std::string& entry, const File& file) {
    return Expand(Bare(entry), {file});
}

TEST(Placeholders, BothFileFormsGiveTheSameValues) {
    const std::string entry = "{{FILE}}|{{PATH}}|{{BASE}}|{{EXT}}|{{SHORTEXT}}";
    const std::string expected = "/pics/photo.jpg|/pics/|photo|.jpg|jpg";
    EXPECT_EQ(Entry(entry, {"", "/pics/photo.jpg"}), expected);
    EXPECT_EQ(Entry(entry, {"/pics", "photo.jpg"}), expected);
    // A folder that already ends in a separator is not given a second one.
    EXPECT_EQ(Entry(entry, {"/pics/", "photo.jpg"}), expected);
    EXPECT_EQ(Entry(entry, {"/", "photo.jpg"}), "/photo.jpg|/|photo|.jpg|jpg");
}

TEST(Placeholders, OnlyExactSpellingsAreReplacedEverywhereTheyStand) {
    EXPECT_EQ(Entry("{{file}}{{Inc}}{{ BASE }}{{BASE}}{{BASE}}", {"", "a.b"}), "{{file}}{{Inc}}{{ BASE }}aa");
    EXPECT_EQ(Expand(Bare("<{{BASE}}>", "[{{FILE}}]{{CRLF}}"), {{"", "/x/y.z"}}), "<y>[/x/y.z]\r\n");
}

TEST(Placeholders, TopRowAndBottomTakeOnlyLineBreaks) {
    TemplateSet set = Bare("e");
    set.top = "{{FILE}}A{{CRLF}}";
    set.newRow = "{{BASE}}|";
    set.bottom = "{{CRLF}}{{INC}}";
    EXPECT_EQ(Expand(set, {{"", "a"}, {"", "b"}}, 1), "{{FILE}}A\r\ne{{BASE}}|e\r\n{{INC}}");
}

// Runs a test inside a folder, so that relative include names resolve there.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    ~InFolder() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST(Placeholders, TextFromANameIsNeverReadAsAPlaceholderOrInclude) {
    test::TempDir dir;
    dir.Write("secret", "SECRET");
    const InFolder here(dir.path());
    EXPECT_EQ(Entry("{{INC(secret)}}", {"", "f"}), "\r\nSECRET"); // the file is there to be read
    // A name holding placeholders and include markers is listed as it is.
    const std::string name = "x{{INC(secret)}}{{FILE}}{{CRLF}}.jpg";
    EXPECT_EQ(Entry("{{BASE}}", {dir.path().string(), name}), "x{{INC(secret)}}{{FILE}}{{CRLF}}");
    EXPECT_EQ(Entry("<{{FILE}}>", {"", name}), "<" + name + ">");
    EXPECT_EQ(Entry("{{INC(-{{BASE}})}}", {"", "secret)}}"}), "");
    // A ")}}" inside a name does not close an include the template opened.
    dir.Write("a)}}b.txt", "caption");
    EXPECT_EQ(Entry("{{INC({{PATH}}{{BASE}}.txt)}}", {dir.path().string(), "a)}}b.jpg"}), "\r\ncaption");
    // Nor does an empty value let the template's text around it join up.
    EXPECT_EQ(Entry("{{{{EXT}}FILE}}", {"", "README"}), "{{FILE}}");
}

TEST(Rows, TheNewRowTextStandsBetweenFullRowsOnly) {
    TemplateSet set = Bare("[{{BASE}}]");
    set.newRow = "|";
    const std::vector<File> seven = {{"", "1"}, {"", "2"}, {"", "3"}, {"", "4"},
                                     {"", "5"}, {"", "6"}, {"", "7"}};
    EXPECT_EQ(Expand(set, seven, 3), "[1][2][3]|[4][5][6]|[7]");
    EXPECT_EQ(Expand(set, {{"", "1"}, {"", "2"}, {"", "3"}}, 1), "[1]|[2]|[3]");
    EXPECT_EQ(Expand(set, {{"", "1"}, {"", "2"}}, 2), "[1][2]");
    EXPECT_EQ(Expand(set, {{"", "1"}, {"", "2"}}, 2147483647), "[1][2]");
}

TEST(Rows, AFreshListStartsTheCountAgain) {
    TemplateSet set = Bare("[{{BASE}}{{N}}]");
    set.newRow = "|";
    StringSink sink;
    EntryProcessor processor(set, 2, sink);
    processor.ProcessFile({}, {}, true);
    processor.ProcessFile("a");
    processor.ProcessFile({}, {}, true);
    processor.ProcessFile("b");
    processor.ProcessFile("c");
    processor.ProcessFile("d");
    EXPECT_EQ(sink.take(), "[a1][b1][c2]|[d3]");
}

TEST(Comments, FrameTheListOnlyWhenChecked) {
    TemplateSet set = Bare("e");
    set.top = "T";
    set.bottom = "B";
    set.addComments = kChecked;
    EXPECT_EQ(Expand(set, {{"", "a"}}), "<!--Tabulon-->\r\nTeB\r\n<!--/Tabulon-->");
    set.addComments = kGrayed;
    EXPECT_EQ(Expand(set, {{"", "a"}}), "TeB");
}

class Includes : public testing::Test {
protected:
    test::TempDir dir;
    std::string Inc(const std::string& name) { return "{{INC(" + (dir / name) + ")}}"; }
};

TEST_F(Includes, ACaptionBesideEachPictureIsFoundThroughPlaceholders) {
    dir.Write("a.txt", "first\r\n");
    dir.Write("b.txt", "second");
    const std::string entry = "<{{BASE}}:{{INC({{PATH}}{{BASE}}.txt)}}>";
    EXPECT_EQ(Expand(Bare(entry), {{dir.path().string(), "a.jpg"}, {dir.path().string(), "b.gif"}}),
              "<a:\r\nfirst><b:\r\nsecond>");
}

TEST_F(Includes, EmptyMissingAndUnterminatedIncludes) {
    dir.Write("x", "X");
    EXPECT_EQ(Entry("a{{INC()}}b", {"", "f"}), "ab");
    EXPECT_EQ(Entry("a" + Inc("missing") + "b", {"", "f"}), "ab");
    // An include without its end stays as written, and so does every later one.
    EXPECT_EQ(Entry(Inc("x") + "-{{INC(a-{{INC(b", {"", "f"}), "\r\nX-{{INC(a-{{INC(b");
    // An include's name runs to the first end marker after it.
    EXPECT_EQ(Entry("<{{INC(a" + Inc("x") + ">", {"", "f"}), "<>");
    EXPECT_EQ(Entry(Inc("x") + "-" + Inc("x"), {"", "f"}), "\r\nX-\r\nX");
}

TEST_F(Includes, IncludedTextIsInsertedUnchangedAndNotScannedAgain) {
    dir.Write("inner", "deep");
    dir.Write("outer", Inc("inner") + "{{FILE}}{{CRLF}}");
    EXPECT_EQ(Entry(Inc("outer"), {"", "f"}), "\r\n" + Inc("inner") + "{{FILE}}{{CRLF}}");
}

TEST_F(Includes, TheFilesOwnTextIsScannedForIncludes) {
    dir.Write("inner", "deep");
    const std::string self = dir.Write("self.txt", "<" + Inc("inner") + "{{BASE}}>");
    EXPECT_EQ(Entry("{{INC}}", {"", self}), "\r\n<\r\ndeep{{BASE}}>");
    // Template text and the file's text can make up a marker together.
    const std::string tail = dir.Write("tail.txt", "{{INC(" + (dir / "inner"));
    EXPECT_EQ(Entry("{{INC}})}}", {"", tail}), "\r\n\r\ndeep");
}

TEST_F(Includes, TheFilesOwnTextIsReadOnceHoweverOftenItStands) {
    // Each read of this file changes its text: a second read would show.
    const std::string counter = "/proc/self/io";
    if (!std::filesystem::exists(counter))
        GTEST_SKIP() << "no " << counter;
    const std::string out = Entry("{{INC}}|{{INC}}", {"", counter});
    const std::size_t bar = out.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_FALSE(out.substr(0, bar).empty());
    EXPECT_EQ(out.substr(0, bar), out.substr(bar + 1));
}

TEST_F(Includes, OnlyRegularFilesAreReadAndNothingBlocks) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(Entry("[" + Inc("fifo") + "][{{INC}}]", {"", dir / "fifo"}), "[][]");
    EXPECT_EQ(Entry("[{{INC}}]", {"", dir.path().string()}), "[]");
    EXPECT_EQ(Entry("[{{INC(/dev/zero)}}]", {"", "f"}), "[]");
}

} // namespace
} // namespace tabulon
