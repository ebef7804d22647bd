#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listgen/list_assembly.h"
#include "listgen/selection_text.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

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
    generateList(set, 2, buildSelectionText(c.folder, c.files), sink, std::nullopt, {},
                 {c.leaveOutUnsized, nullptr}, c.newFolder);
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
