#include <gtest/gtest.h>

#include <filesystem>

#include "persist/ini_file.h"
#include "support/temp_dir.h"
#include "support/utf16_bytes.h"

namespace tabulon {
namespace {

TEST(IniFile, ReadingAMissingFileGivesNothingAndCreatesNothing) {
    test::TempDir dir;
    CIniFIle ini;
    ini.INIFile(dir / "none.ini");
    EXPECT_EQ(ini.GetFile("S", "k"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
}

TEST(IniFile, WritingCreatesTheFileAndASecondWriteReplacesTheLine) {
    test::TempDir dir;
    CIniFIle ini;
    ini.INIFile(dir / "new.ini");
    ASSERT_TRUE(ini.WriteFile("S", "k", "1").ok());
    ASSERT_TRUE(ini.WriteFile("S", "k", "2").ok());
    ASSERT_TRUE(ini.WriteFile("T", "k", "3").ok());
    EXPECT_EQ(test::readAll(ini.INIFile()), "[S]\r\nk=2\r\n[T]\r\nk=3\r\n");
    EXPECT_EQ(ini.GetFile("s", "K"), "2");
    const std::string value(600, 'v');
    ASSERT_TRUE(ini.WriteFile("S", "long", value).ok());
    EXPECT_EQ(ini.GetFile("S", "long"), value);
}

TEST(IniFile, AUtf16FileIsReadAndAWriteTurnsItWholeIntoUtf8) {
    for (const bool bigEndian : {false, true}) {
        test::TempDir dir;
        CIniFIle ini;
        ini.INIFile(
            dir.write("u.ini", test::utf16File(u"; \u00e9t\u00e9\r\n[S]\r\nk=\u20ac\r\nj=1\r\n", bigEndian)));
        EXPECT_EQ(ini.GetFile("S", "k"), "\xE2\x82\xAC");
        ASSERT_TRUE(ini.WriteFile("S", "j", "\xC3\xA9").ok());
        EXPECT_EQ(test::readAll(ini.INIFile()),
                  "\xEF\xBB\xBF; \xC3\xA9t\xC3\xA9\r\n[S]\r\nk=\xE2\x82\xAC\r\nj=\xC3\xA9\r\n");
    }
}

TEST(IniFile, CreateIniJoinsWithOneSeparator) {
    const std::pair<std::pair<std::string_view, std::string_view>, std::string_view> cases[] = {
        {{"/home/u/", "/cfg/a.ini"}, "/home/u/cfg/a.ini"},
        {{"/home/u", "a.ini"}, "/home/u/a.ini"},
        {{"/", "a.ini"}, "/a.ini"},
        {{"/u/x\\", "\\a.ini"}, "/u/x\\/\\a.ini"}, // backslashes belong to the names
        {{"", ""}, "/"},
    };
    for (const auto& [parts, joined] : cases) {
        CIniFIle ini;
        ini.CreateIni(parts.first, parts.second);
        EXPECT_EQ(ini.INIFile(), joined) << parts.first << " + " << parts.second;
    }
}

} // namespace
} // namespace tabulon
