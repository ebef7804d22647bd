#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "base/width.h"
#include "listgen/list_assembly.h"
#include "listgen/selection_text.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TemplateSet workedExample() {
    TemplateSet set;
    set.width = "2";
    set.top = "T";
    set.newEntry = "[{{BASE}}]";
    set.newRow = "|";
    set.bottom = "B";
    set.addComments = kUnchecked;
    return set;
}

std::string generate(const TemplateSet& set, std::string_view selection) {
    StringSink sink;
    generateList(set, 2, selection, sink);
    return sink.take();
}

TEST(Assembly, TheWorkedExampleWithAndWithoutComments) {
    TemplateSet set = workedExample();
    const std::string selection = buildSelectionText("/pics", {"x.jpg", "y.gif", "z"});
    EXPECT_EQ(generate(set, selection), "T[x][y]|[z]B");
    set.addComments = kChecked;
    EXPECT_EQ(generate(set, selection), "<!--Tabulon-->\r\nT[x][y]|[z]B\r\n<!--/Tabulon-->");
    set.addComments = kGrayed;
    EXPECT_EQ(generate(set, selection), "T[x][y]|[z]B");
}

TEST(Assembly, AWatchedListReportsEachEntryAndStopsWhenCancelled) {
    const std::string selection = buildSelectionText("/pics", {"x", "y", "z", "w"});
    EXPECT_EQ(countSelectedFiles(selection), 4U);
    std::atomic<bool> cancel{false};
    std::vector<std::int64_t> reported;
    StringSink sink;
    const auto written = [&](std::int64_t count) {
        reported.push_back(count);
        cancel = count == 2;
    };
    EXPECT_THROW(generateList(workedExample(), 2, selection, sink, {.progress = {&cancel, written}}),
                 ListCancelled);
    EXPECT_EQ(reported, (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(sink.take(), "T[x][y]");
}

TEST(Selection, OneFileIsOneFullPathAndSeveralAreFolderAndNames) {
    std::vector<std::pair<std::string, std::string>> seen;
    const auto collect = [&](std::string_view folder, std::string_view name) {
        seen.emplace_back(folder, name);
    };
    forEachSelectedFile("/pics/a.jpg", collect);
    forEachSelectedFile("/pics\0 b.jpg\0  c.jpg\0\0d"s, collect);
    forEachSelectedFile("\0/one/a\0/two/b"s, collect); // files of several folders
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"", "/pics/a.jpg"}, {"/pics", " b.jpg"}, {"/pics", "  c.jpg"},
        {"/pics", "d"},      {"", "/one/a"},      {"", "/two/b"}};
    EXPECT_EQ(seen, expected);
}

TEST(Selection, TheDialogsPathsBecomeOneOfTheTwoForms) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/p/a.jpg"}, "/p/a.jpg"},
        {{"/p/a", "/p/ b"}, "/p\0a\0 b"s},
        {{"/a", "/b"}, "/\0a\0b"s},
        {{"/one/a", "/two/b"}, "\0/one/a\0/two/b"s}, // files of several folders keep their full paths
        {{"/D/x\\a.jpg", "/D/x\\b.jpg"}, "/D\0x\\a.jpg\0x\\b.jpg"s}, // a backslash is no folder
        {{"/D/x\\/a", "/D/x\\/b"}, "/D/x\\\0a\0b"s},
    };
    for (const auto& [paths, selection] : cases)
        EXPECT_EQ(selectionFromPaths(paths), selection);
}

struct WidthCase : test::Sentence {
    std::string_view text;
    std::string_view message;
    std::uint32_t value;
};

class Width : public testing::TestWithParam<WidthCase> {};

TEST_P(Width, IsAWholeNumberFromOneUp) {
    const WidthCheck check = checkWidth(GetParam().text);
    if (GetParam().message.empty()) {
        ASSERT_TRUE(check.ok());
        EXPECT_EQ(check.value(), GetParam().value);
    } else {
        ASSERT_FALSE(check.ok());
        EXPECT_EQ(check.error(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Width,
    testing::Values(WidthCase{"an empty width asks for one", "", kEnterWidth, 0},
                    WidthCase{"zero is too small", "0", kEnterWidthAboveZero, 0},
                    WidthCase{"one past the largest is refused", "2147483648", kEnterWidthAboveZero, 0},
                    WidthCase{"a huge number is refused", "99999999999999999999999", kEnterWidthAboveZero, 0},
                    WidthCase{"letters after the digits are refused", "12a", kEnterWidthAboveZero, 0},
                    WidthCase{"one is the smallest width", "1", "", 1},
                    WidthCase{"leading zeros and blanks around are fine", " 007 ", "", 7},
                    WidthCase{"the largest width", "2147483647", "", 2147483647}),
    test::bySentence);

struct FolderCase : test::Sentence {
    std::string newFolder;
    std::string entry;
    std::string folder; // the files' own folder, or none for paths
    std::vector<std::string> files;
    std::string expected;
    bool leaveOutUnsized = false;
};

// Runs in a folder named "here", so that the current folder has a known name.
class FolderText : public testing::TestWithParam<FolderCase> {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "here/a");
        dir.write("here/a/p.png", test::kPng);
        dir.write("here/a/q.png", test::kPng);
        before = fs::current_path();
        fs::current_path(dir.path() / "here");
    }
    void TearDown() override { fs::current_path(before); }

    test::TempDir dir;
    fs::path before;
};

TEST_P(FolderText, IsWrittenBeforeEachRunOfAFolder) {
    const FolderCase& c = GetParam();
    TemplateSet set;
    set.newEntry = c.entry;
    set.newRow = "|";
    set.addComments = kUnchecked;
    StringSink sink;
    generateList(set, 2, buildSelectionText(c.folder, c.files), sink,
                 {.leaveOut = {c.leaveOutUnsized, nullptr}, .newFolder = c.newFolder});
    EXPECT_EQ(sink.take(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FolderText,
    testing::Values(
        FolderCase{
            "a list without the text is as it was", "", "{{BASE}},", "", {"a/x", "a/y", "b/z"}, "x,y,|z,"},
        FolderCase{"a folder the list comes back to starts a run again",
                   "<{{FOLDERNAME}}>",
                   "{{BASE}},",
                   "",
                   {"a/x", "a/y", "b/z", "a/w"},
                   "<a>x,y,|<b>z,<a>w,"},
        FolderCase{"a counted run is held until it ends and row breaks stay in their place",
                   "<{{FOLDER}} {{FOLDERCOUNT}}>",
                   "{{BASE}},",
                   "",
                   {"a/x", "a/y", "b/z", "a/w", "a/v"},
                   "<a 2>x,y,|<b 1>z,<a 2>w,|v,"},
        FolderCase{"files left out are not counted and a folder of only those starts no run",
                   "<{{FOLDERNAME}} {{FOLDERCOUNT}}>",
                   "{{BASE}}{{WIDTH}},",
                   "",
                   {"a/p.png", "a/gone.png", "b/gone.png", "a/q.png"},
                   "<a 2>p3,q3,",
                   true},
        FolderCase{"each kind of path has its folder and a name for it",
                   "",
                   "{{FOLDER}}={{FOLDERNAME}},",
                   "",
                   {"n", "./n", "a/b/n", "/abs/x/n", "a//n", "a/b/../n", "/n"},
                   ".=here,.=here,|a/b=b,/abs/x=x,|a=a,a/b/..=a,|/=/,"},
        FolderCase{"the forms escape and the other placeholders stay as written",
                   "<{{FOLDERNAME:html}} {{FILE}}>{{CRLF}}",
                   "{{FOLDER:url}} {{FOLDERCOUNT}},",
                   "",
                   {"<a> b/n"},
                   "<&lt;a&gt; b {{FILE}}>\r\n%3Ca%3E%20b {{FOLDERCOUNT}},"},
        FolderCase{"the files of one folder given apart make one run",
                   "<{{FOLDER}}>",
                   "{{BASE}},",
                   "/abs/x",
                   {"n", "m"},
                   "</abs/x>n,m,"}),
    test::bySentence);

} // namespace
} // namespace tabulon
