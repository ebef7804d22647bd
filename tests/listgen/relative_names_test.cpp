#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listgen/list_assembly.h"
#include "listgen/selection_text.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

struct RelativeCase : test::Sentence {
    std::string relativeTo;
    std::vector<std::string> files;
    std::string expected;
    std::string entry = "{{FILE:rel}}|{{PATH:rel}}|{{FOLDER:rel}},";
    std::string newFolder = {};
};

std::string listed(const RelativeCase& c) {
    TemplateSet set;
    set.newEntry = c.entry;
    set.addComments = kUnchecked;
    StringSink sink;
    generateList(set, 9, buildSelectionText({}, c.files), sink,
                 {.newFolder = c.newFolder, .relativeTo = c.relativeTo});
    return sink.take();
}

class RelativeNamesTest : public testing::TestWithParam<RelativeCase> {};

TEST_P(RelativeNamesTest, NameTheFilesFromThePagesFolder) {
    EXPECT_EQ(listed(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RelativeNamesTest,
    testing::Values(
        RelativeCase{
            "a file beside the page is its bare name in a folder of its own", "a", {"a/x.jpg"}, "x.jpg||.,"},
        RelativeCase{"a page in the current folder reaches down and drops dots and doubled slashes",
                     "",
                     {"a/x.jpg", "./b//y.jpg", "a/./c/../z.jpg"},
                     "a/x.jpg|a/|a,b/y.jpg|b/|b,a/z.jpg|a/|a,"},
        RelativeCase{"a page in a sibling folder goes up first", "b/", {"a/x.jpg"}, "../a/x.jpg|../a/|../a,"},
        RelativeCase{"absolute names meet an absolute folder where they part",
                     "/abs/page",
                     {"/abs/pics/x.jpg", "/abs/page/y.jpg", "/z.jpg"},
                     "../pics/x.jpg|../pics/|../pics,y.jpg||.,../../z.jpg|../../|../..,"},
        RelativeCase{"the escapes apply to the relative name and the other forms keep their meaning",
                     "",
                     {"a b/<x>.jpg"},
                     "a%20b/%3Cx%3E.jpg a b/ a%20b|a b/<x>.jpg {{FILE:rel:xml}} {{BASE:rel}}",
                     "{{FILE:rel:url}} {{PATH:rel:html}} {{FOLDER:rel:url}}|{{FILE}} {{FILE:rel:xml}} "
                     "{{BASE:rel}}"},
        RelativeCase{"the new-folder text names each folder from the page",
                     "a",
                     {"a/x", "b/y"},
                     "<.>x<../b>y",
                     "{{BASE}}",
                     "<{{FOLDER:rel}}>"}),
    test::bySentence);

TEST(RelativeNames, AreWrittenAsTheyAreWhenTheCurrentFolderIsGone) {
    test::TempDir dir;
    const fs::path before = fs::current_path();
    fs::create_directory(dir / "gone");
    fs::current_path(dir / "gone");
    fs::remove(dir / "gone");
    const std::string written = listed({{"the current folder is gone"}, "", {"a/x.jpg"}, ""});
    fs::current_path(before);
    EXPECT_EQ(written, "a/x.jpg|a/|a,");
}

TEST(SelectionFolder, IsTheLongestFolderThatHoldsEveryFile) {
    const std::pair<std::string, std::string> cases[] = {
        {"/a/b/x.jpg", "/a/b"},
        {buildSelectionText("/a/b", {"x", "y"}), "/a/b"},
        {buildSelectionText({}, {"/a/b/c/x", "/a/b/d/y", "/a/b//z"}), "/a/b"},
        {buildSelectionText({}, {"/a/x", "/b/y"}), "/"},
        {"", ""},
    };
    for (const auto& [selection, folder] : cases)
        EXPECT_EQ(selectionFolder(selection), folder) << selection;
}

} // namespace
} // namespace tabulon
