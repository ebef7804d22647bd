#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include "posix/unique_fd.h"

namespace tabulon {
namespace {

bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(UniqueFd, TheLastOwnerClosesTheDescriptorOnceAndReleaseHandsItOver) {
    const int raw = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(raw, 0);
    {
        UniqueFd first(raw);
        UniqueFd second(std::move(first));
        EXPECT_FALSE(first);
        UniqueFd third;
        third = std::move(second);
        EXPECT_EQ(third.get(), raw);
        EXPECT_TRUE(isOpen(raw));
    }
    EXPECT_FALSE(isOpen(raw));

    UniqueFd fd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const int again = fd.release();
    EXPECT_FALSE(fd);
    EXPECT_TRUE(isOpen(again));
    fd.reset(again);
    EXPECT_EQ(fd.close(), 0);
    EXPECT_FALSE(isOpen(again));
    EXPECT_EQ(fd.close(), 0); // nothing left to close
}

} // namespace
} // namespace tabulon
