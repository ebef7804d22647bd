#include <gtest/gtest.h>

#include <csignal>

#include <poll.h>

#include "posix/signal_pipe.h"

namespace tabulon {
namespace {

bool readable(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, 0) == 1;
}

TEST(SignalPipe, ASignalWakesTheWatcherOnceAndTheDefaultComesBack) {
    const int fd = watchSignals({SIGUSR1});
    ASSERT_GE(fd, 0);
    EXPECT_EQ(watchSignals({SIGUSR2}), fd); // one socket for the process
    EXPECT_FALSE(readable(fd));
    ASSERT_EQ(std::raise(SIGUSR1), 0); // would end the test without the handler
    ASSERT_TRUE(readable(fd));
    takeSignal(fd);
    EXPECT_FALSE(readable(fd));

    restoreSignals({SIGUSR1, SIGUSR2});
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGUSR1, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

} // namespace
} // namespace tabulon
