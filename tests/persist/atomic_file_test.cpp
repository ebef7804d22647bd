#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "persist/atomic_file.h"
#include "support/gone_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

std::size_t countFiles(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// What the read end of a pipe holds: a short text, all there after one write.
std::string drain(int fd) {
    std::string buffer(4096, '\0');
    buffer.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(fd, buffer.data(), buffer.size()))));
    return buffer;
}

// Root may give the file away: then owner, group and the set-group-ID bit,
// which a change of owner would clear, must come back too.
TEST(AtomicFile, ReplacesTheWholeFileAndKeepsItsOwnerGroupAndMode) {
    test::TempDir dir;
    const std::string file = dir.write("f", "old and longer");
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(file.c_str(), 1234, 5678) == 0);
    ::chmod(file.c_str(), root ? 02770 : 0640);
    ASSERT_TRUE(writeFileAtomically(file, "new").ok());
    EXPECT_EQ(test::readAll(file), "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, root ? 02770u : 0640u);
    if (root) {
        EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(1234u, 5678u));
    }
    EXPECT_EQ(countFiles(dir.path()), 1u);
}

TEST(AtomicFile, TemporariesOfRunsThatAreGoneAreRemovedAndNothingElse) {
    test::TempDir dir;
    const std::string gone = std::to_string(test::goneProcess());
    const std::string stale = dir.write(".f.tmp" + gone + "-abcdef", "half");
    const std::vector<std::string> kept = {
        dir.write(".f.tmp1-abcdef", "a running process's"),
        dir.write(".g.tmp" + gone + "-abcdef", "another file's"),
        dir.write(".f.tmp" + gone + "abcdef", "not the pattern"),
        dir.write(".f.tmpabcdef", "an older program's"),
        dir.write(".f.tmp" + gone + "-old", "the user's"),
        dir.write(".f.tmp" + gone + "-abcdef.txt", "the user's too"),
    };
    fs::create_directory(dir / (".f.tmp" + gone + "-folder"));
    fs::create_symlink(dir / "elsewhere", dir / (".f.tmp" + gone + "-link"));
    ASSERT_TRUE(writeFileAtomically(dir / "f", "new").ok());
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& file : kept)
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(countFiles(dir.path()), 9u);
}

// How a name made of links is written: the link stays, the file it leads to
// (or would lead to) gets the bytes.
struct LinkCase : test::Sentence {
    std::vector<std::pair<std::string, std::string>> links; // name, what it points at ("@" = the folder)
    std::string written;                                    // the name written to
    std::string lands;                                      // the file that must hold the bytes
};

class AtomicFileLinks : public testing::TestWithParam<LinkCase> {};

TEST_P(AtomicFileLinks, TheLinksStayAndTheFileTheyLeadToIsWritten) {
    test::TempDir dir;
    fs::create_directory(dir / "sub");
    dir.write("sub/old", "old");
    const auto expand = [&](const std::string& s) { return s.starts_with("@") ? dir / s.substr(1) : s; };
    for (const auto& [name, target] : GetParam().links)
        fs::create_symlink(expand(target), dir / name);
    ASSERT_TRUE(writeFileAtomically(dir / GetParam().written, "new").ok());
    EXPECT_EQ(test::readAll(dir / GetParam().lands), "new");
    for (const auto& [name, target] : GetParam().links)
        EXPECT_EQ(fs::read_symlink(dir / name), expand(target)) << name;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Links, AtomicFileLinks,
    testing::Values(LinkCase{"a link to a file", {{"link", "@sub/old"}}, "link", "sub/old"},
                    LinkCase{"a dangling link", {{"link", "@sub/new"}}, "link", "sub/new"},
                    LinkCase{"a relative dangling link from another folder",
                             {{"sub/link", "new"}},
                             "sub/link",
                             "sub/new"},
                    LinkCase{"a chain of links to a dangling name",
                             {{"first", "sub/second"}, {"sub/second", "../sub/new"}},
                             "first",
                             "sub/new"},
                    LinkCase{"a dangling link through a linked folder",
                             {{"folder", "sub"}, {"sub/link", "new"}},
                             "folder/link",
                             "sub/new"}),
    test::bySentence);

TEST(AtomicFile, FifosAndLinksToAnOpenPipeAreWrittenInto) {
    test::TempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader first, so that opening for writing does not wait for one.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(writeFileAtomically(fifo, "into the fifo").ok());
    EXPECT_EQ(drain(reader), "into the fifo");
    EXPECT_TRUE(fs::is_fifo(fifo));
    ::close(reader);

    // What /dev/stdout is when the output goes into a pipe.
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_NONBLOCK | O_CLOEXEC), 0);
    fs::create_symlink("/proc/self/fd/" + std::to_string(pipe[1]), dir / "stdout");
    EXPECT_TRUE(writeFileAtomically(dir / "stdout", "into the pipe").ok());
    EXPECT_EQ(drain(pipe[0]), "into the pipe");
    EXPECT_TRUE(fs::is_symlink(dir / "stdout"));
    ::close(pipe[0]);
    ::close(pipe[1]);
}

TEST(AtomicFile, ASocketIsRefusedAndStays) {
    test::TempDir dir;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = dir / "socket";
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const IoResult result = writeFileAtomically(path, "new");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message(), path + ": is a socket, not a file");
    EXPECT_TRUE(fs::is_socket(path));
    ::close(sock);
}

TEST(AtomicFile, TheTemporaryNameFitsWhereverTheNameFits) {
    std::string cjk; // three bytes a character in UTF-8
    for (int i = 0; i < 85; ++i)
        cjk += "\xe8\xa1\xa8";
    const std::string names[] = {std::string(242, 'n'), std::string(255, 'n'), "n", cjk.substr(0, 243), cjk};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.size());
        test::TempDir dir;
        AtomicFileWriter writer(dir / name);
        ASSERT_TRUE(writer.open().ok());
        ASSERT_TRUE(writer.write("new").ok());
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string temporary = entry.path().filename().string();
            EXPECT_LE(temporary.size(), 255u);
            // Cut between characters: the name stays UTF-8.
            const std::size_t cut = temporary.find(".tmp");
            ASSERT_NE(cut, std::string::npos);
            EXPECT_EQ(temporary.substr(1, cut - 1).size() % (name[0] == 'n' ? 1 : 3), 0u);
        }
        ASSERT_TRUE(writer.commit().ok());
        EXPECT_EQ(test::readAll(dir / name), "new");
        EXPECT_EQ(countFiles(dir.path()), 1u);
    }
}

} // namespace
} // namespace tabulon
