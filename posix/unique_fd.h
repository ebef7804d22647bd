#pragma once

#include <utility>

#include <unistd.h>

namespace tabulon {

// Owns one file descriptor and closes it when it goes; -1 is "none".
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const noexcept { return fd_; }
    explicit operator bool() const noexcept { return fd_ >= 0; }

    // Hands the descriptor over without closing it.
    int release() noexcept { return std::exchange(fd_, -1); }

    // Closes the one held, if any, and takes `fd`.
    void reset(int fd = -1) noexcept {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

    // Closes now, for callers that must know whether the close failed (the
    // last write error of a file may only show here): 0, or -1 with errno set.
    int close() noexcept { return fd_ >= 0 ? ::close(release()) : 0; }

private:
    int fd_ = -1;
};

} // namespace tabulon
