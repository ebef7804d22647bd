#pragma once

#include <atomic>
#include <chrono>
#include <stop_token>
#include <string>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace tabulon::test {

// Keeps a test from hanging on a FIFO: after a grace time, it opens the FIFO
// for writing now and then and closes it again, so that a reader stuck on it
// gets an end of file. released() tells whether it ever had to.
class FifoWatchdog {
public:
    explicit FifoWatchdog(std::string fifo, std::chrono::milliseconds grace = std::chrono::seconds(2))
        : fifo_(std::move(fifo)), thread_([this, grace](std::stop_token stop) { watch(stop, grace); }) {}

    bool released() const { return released_; }

private:
    void watch(const std::stop_token& stop, std::chrono::milliseconds grace) {
        const auto start = std::chrono::steady_clock::now();
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() - start < grace)
                continue;
            // Succeeds only while a reader has the FIFO open.
            const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                released_ = true;
                ::close(fd);
            }
        }
    }

    const std::string fifo_;
    std::atomic<bool> released_{false};
    std::jthread thread_; // the last member: stopped and joined first
};

} // namespace tabulon::test
