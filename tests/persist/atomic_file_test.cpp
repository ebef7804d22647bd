#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "persist/atomic_file.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

std::size_t CountFiles(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(AtomicFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    test::TempDir dir;
    const std::string file = dir.Write("f", "old and longer");
    ::chmod(file.c_str(), 0640);
    ASSERT_FALSE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(test::ReadAll(file), "new");
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(CountFiles(dir.path()), 1u);
}

TEST(AtomicFile, WritesThroughALinkToItsTarget) {
    test::TempDir dir;
    const std::string target = dir.Write("target", "old");
    std::filesystem::create_symlink(target, dir / "link");
    ASSERT_FALSE(WriteFileAtomically(dir / "link", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link"));
    EXPECT_EQ(test::ReadAll(target), "new");
}

} // namespace
} // namespace tabulon
