#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/file_content.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

struct ContentCase : test::Sentence {
    std::string_view bytes;
    std::string_view content;
};

class FileContent : public testing::TestWithParam<ContentCase> {};

TEST_P(FileContent, PrecedesEachLineWithALineBreak) {
    test::TempDir dir;
    const std::string file = dir.write("f.txt", GetParam().bytes);
    FileReader reader;
    ASSERT_TRUE(reader.read(file).ok());
    std::string content;
    appendLines(reader.data(), content);
    EXPECT_EQ(content, GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FileContent,
    testing::Values(ContentCase{"one line without a line end", "abc", "\r\nabc"},
                    ContentCase{"the last line end starts no further line", "a\r\nb\r\n", "\r\na\r\nb"},
                    ContentCase{"a lone CR ends a line", "a\rb\r", "\r\na\r\nb"},
                    ContentCase{"a lone LF is an ordinary character", "a\nb\n", "\r\na\nb\n"},
                    ContentCase{"empty lines stay", "a\r\n\r\nb", "\r\na\r\n\r\nb"},
                    ContentCase{"bytes pass unchanged", "\xC3\xA9\t\x01\x00z", "\r\n\xC3\xA9\t\x01\x00z"},
                    ContentCase{"an empty file gives nothing", "", ""}),
    test::bySentence);

TEST(FileContentFailures, WhatCannotBeReadGivesNothingAndSaysWhyAndLaterReadsWork) {
    test::TempDir dir;
    const std::string good = dir.write("good.txt", "ok");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    // The FIFO has no writer: a blocking open would hang here.
    FileReader reader;
    for (const auto& [name, why] : std::vector<std::pair<std::string, std::string>>{
             {dir / "missing.txt", "No such file or directory"},
             {"", "No such file or directory"},
             {dir.path().string(), "Is a directory"},
             {dir / "fifo", "not a regular file"},
             {"/dev/zero", "not a regular file"},
             {good + std::string(1, '\0') + "x", "the name holds a NUL character"}}) {
        const IoResult read = reader.read(name);
        EXPECT_EQ(read.ok() ? "read" : read.error().code.message(), why) << name;
        EXPECT_EQ(reader.data(), "") << name;
        ASSERT_TRUE(reader.read(good).ok());
        EXPECT_EQ(reader.data(), "ok");
    }
}

TEST(FileContentFailures, APieceFromAnOffsetStopsAtTheFilesEnd) {
    test::TempDir dir;
    const std::string file = dir.write("f", "0123456789");
    FileReader reader;
    const auto piece = [&](std::uint64_t offset, std::size_t limit) {
        return reader.readAt(file, offset, limit).ok() ? std::string(reader.data()) : "error";
    };
    EXPECT_EQ(piece(3, 4), "3456");
    EXPECT_EQ(piece(7, 100), "789");
    EXPECT_EQ(piece(10, 4), "");
    EXPECT_EQ(piece(UINT64_MAX, 4), "");
    EXPECT_EQ(piece(0, 2), "01");
}

} // namespace
} // namespace tabulon
