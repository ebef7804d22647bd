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
}

// FILE|PATH|BASE|EXT|SHORTEXT of a name with backslashes, plain, :html and :url.
struct BackslashCase {
    const char* sentence;
    File file;
    std::string plain, html, url;
};

void PrintTo(const BackslashCase& c, std::ostream* os) {
    *os << c.sentence;
}

class Backslashes : public testing::TestWithParam<BackslashCase> {};

TEST_P(Backslashes, AreOrdinaryCharactersOfTheName) {
    const BackslashCase& c = GetParam();
    const auto parts = [](const char* escape) {
        std::string entry;
        for (const char* part : {"FILE", "PATH", "BASE", "EXT", "SHORTEXT"})
            entry += std::string(entry.empty() ? "" : "|") + "{{" + part + escape + "}}";
        return entry;
    };
    EXPECT_EQ(entry(parts(""), c.file), c.plain);
    EXPECT_EQ(entry(parts(":html"), c.file), c.html);
    EXPECT_EQ(entry(parts(":url"), c.file), c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Backslashes,
    testing::Values(BackslashCase{"inside the last part",
                                  {"", "/D/x\\a.jpg"},
                                  "/D/x\\a.jpg|/D/|x\\a|.jpg|jpg",
                                  "/D/x\\a.jpg|/D/|x\\a|.jpg|jpg",
                                  "/D/x%5Ca.jpg|/D/|x%5Ca|.jpg|jpg"},
                    BackslashCase{"in a bare name",
                                  {"", "a\\b.jpg"},
                                  "a\\b.jpg||a\\b|.jpg|jpg",
                                  "a\\b.jpg||a\\b|.jpg|jpg",
                                  "a%5Cb.jpg||a%5Cb|.jpg|jpg"},
                    BackslashCase{"written as a path elsewhere",
                                  {"", "C:\\pics\\photo.jpg"},
                                  "C:\\pics\\photo.jpg||C:\\pics\\photo|.jpg|jpg",
                                  "C:\\pics\\photo.jpg||C:\\pics\\photo|.jpg|jpg",
                                  "C%3A%5Cpics%5Cphoto.jpg||C%3A%5Cpics%5Cphoto|.jpg|jpg"},
                    BackslashCase{"after the dot, in the extension",
                                  {"/D", "a.b\\c"},
                                  "/D/a.b\\c|/D/|a|.b\\c|b\\c",
                                  "/D/a.b\\c|/D/|a|.b\\c|b\\c",
                                  "/D/a.b%5Cc|/D/|a|.b%5Cc|b%5Cc"},
                    BackslashCase{"at the end of the folder, which still gets its slash",
                                  {"/D/x\\", "a.jpg"},
                                  "/D/x\\/a.jpg|/D/x\\/|a|.jpg|jpg",
                                  "/D/x\\/a.jpg|/D/x\\/|a|.jpg|jpg",
                                  "/D/x%5C/a.jpg|/D/x%5C/|a|.jpg|jpg"},
                    BackslashCase{"beside markup",
                                  {"/D", "<a\\&b>.png"},
                                  "/D/<a\\&b>.png|/D/|<a\\&b>|.png|png",
                                  "/D/&lt;a\\&amp;b&gt;.png|/D/|&lt;a\\&amp;b&gt;|.png|png",
                                  "/D/%3Ca%5C%26b%3E.png|/D/|%3Ca%5C%26b%3E|.png|png"}),
    [](const auto& info) { return test::sentenceName(info.param.sentence); });

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
    dir.write("secret", "SECRET");
    const InFolder here(dir.path());
    EXPECT_EQ(entry("{{INC(secret)}}", {"", "f"}), "\r\nSECRET"); // the file is there to be read
    // A name holding placeholders and include markers is listed as it is.
    const std::string name = "x{{INC(secret)}}{{FILE}}{{CRLF}}.jpg";
    EXPECT_EQ(entry("{{BASE}}", {dir.path().string(), name}), "x{{INC(secret)}}{{FILE}}{{CRLF}}");
    EXPECT_EQ(entry("<{{FILE}}>", {"", name}), "<" + name + ">");
    EXPECT_EQ(entry("{{INC(-{{BASE}})}}", {"", "secret)}}"}), "");
    // A ")}}" inside a name does not close an include the template opened.
    dir.write("a)}}b.txt", "caption");
    EXPECT_EQ(entry("{{INC({{PATH}}{{BASE}}.txt)}}", {dir.path().string(), "a)}}b.jpg"}), "\r\ncaption");
    // Nor does an empty value let the template's text around it join up.
    EXPECT_EQ(entry("{{{{EXT}}FILE}}", {"", "README"}), "{{FILE}}");
}

TEST(Rows, TheNewRowTextStandsBetweenFullRowsOnly) {
    TemplateSet set = bare("[{{BASE}}]");
    set.newRow = "|";
    const std::vector<File> seven = {{"", "1"}, {"", "2"}, {"", "3"}, {"", "4"},
                                     {"", "5"}, {"", "6"}, {"", "7"}};
    EXPECT_EQ(expand(set, seven, 3), "[1][2][3]|[4][5][6]|[7]");
    EXPECT_EQ(expand(set, {{"", "1"}, {"", "2"}, {"", "3"}}, 1), "[1]|[2]|[3]");
    EXPECT_EQ(expand(set, {{"", "1"}, {"", "2"}}, 2), "[1][2]");
    EXPECT_EQ(expand(set, {{"", "1"}, {"", "2"}}, 2147483647), "[1][2]");
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

TEST(Comments, FrameTheListOnlyWhenChecked) {
    TemplateSet set = bare("e");
    set.top = "T";
    set.bottom = "B";
    set.addComments = kChecked;
    EXPECT_EQ(expand(set, {{"", "a"}}), "<!--Tabulon-->\r\nTeB\r\n<!--/Tabulon-->");
    set.addComments = kGrayed;
    EXPECT_EQ(expand(set, {{"", "a"}}), "TeB");
}

class Includes : public testing::Test {
protected:
    test::TempDir dir;
    std::string inc(const std::string& name) { return "{{INC(" + (dir / name) + ")}}"; }
};

TEST_F(Includes, ACaptionBesideEachPictureIsFoundThroughPlaceholders) {
    dir.write("a.txt", "first\r\n");
    dir.write("b.txt", "second");
    const std::string entry = "<{{BASE}}:{{INC({{PATH}}{{BASE}}.txt)}}>";
    EXPECT_EQ(expand(bare(entry), {{dir.path().string(), "a.jpg"}, {dir.path().string(), "b.gif"}}),
              "<a:\r\nfirst><b:\r\nsecond>");
}

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

TEST_F(Includes, IncludedTextIsInsertedUnchangedAndNotScannedAgain) {
    dir.write("inner", "deep");
    dir.write("outer", inc("inner") + "{{FILE}}{{CRLF}}");
    EXPECT_EQ(entry(inc("outer"), {"", "f"}), "\r\n" + inc("inner") + "{{FILE}}{{CRLF}}");
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

TEST_F(Includes, OnlyRegularFilesAreReadAndNothingBlocks) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(entry("[" + inc("fifo") + "][{{INC}}]", {"", dir / "fifo"}), "[][]");
    EXPECT_EQ(entry("[{{INC}}]", {"", dir.path().string()}), "[]");
    EXPECT_EQ(entry("[{{INC(/dev/zero)}}]", {"", "f"}), "[]");
}

} // namespace
} // namespace tabulon
