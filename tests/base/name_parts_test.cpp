#include <gtest/gtest.h>

#include "base/name_parts.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

struct NameCase : test::Sentence {
    std::string_view name, path, ext, base;
};

class NameParts : public testing::TestWithParam<NameCase> {};

TEST_P(NameParts, SplitsTheName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(GetFilePath(c.name), c.path);
    EXPECT_EQ(GetFileExt(c.name), c.ext);
    EXPECT_EQ(GetFileBase(c.name), c.base);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameParts,
    testing::Values(
        NameCase{"a full path splits into folder base and extension", "/pics/photo.jpg", "/pics/", ".jpg",
                 "photo"},
        NameCase{"a backslash is part of the name", "/d/x\\a.jpg", "/d/", ".jpg", "x\\a"},
        NameCase{"a relative name keeps its folder", "docs/page.html", "docs/", ".html", "page"},
        NameCase{"a dot in a folder name is no extension", "/my.pics/readme", "/my.pics/", "", "readme"},
        NameCase{"a dot before a backslash starts the extension", "/d/my.pics\\readme", "/d/",
                 ".pics\\readme", "my"},
        NameCase{"a name with several dots keeps all but the last in BASE", "archive.tar.gz", "", ".gz",
                 "archive.tar"},
        NameCase{"a trailing dot is the whole extension", "file.", "", ".", "file"},
        NameCase{"a leading dot makes the whole name an extension", ".htaccess", "", ".htaccess", ""},
        NameCase{"a folder alone has no base and no extension", "/pics/", "/pics/", "", ""},
        NameCase{"the empty name gives empty parts", "", "", "", ""},
        NameCase{"blanks stay part of the name", "/a b/ c .j pg", "/a b/", ".j pg", " c "}),
    test::bySentence);

} // namespace
} // namespace tabulon
