#include "cli/library_stderr.h"

#include <atomic>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace tabulon::cli {

namespace {

std::atomic<int> userStderr{STDERR_FILENO};

void drain(int fd) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
    }
    ::close(fd);
}

} // namespace

int messageFd() {
    return userStderr.load(std::memory_order_acquire);
}

void quietLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return;
        const int saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        bool draining = false;
        if (saved >= 0) {
            try {
                std::thread(drain, ends[0]).detach(); // runs as long as the program
                draining = true;
            } catch (const std::system_error&) {
                // no thread to spare: the libraries' lines show as they are
            }
        }
        if (!draining || ::dup2(ends[1], STDERR_FILENO) < 0) {
            if (saved >= 0)
                ::close(saved);
            ::close(ends[1]); // the drain, if running, ends with it
            if (!draining)
                ::close(ends[0]);
            return;
        }
        ::close(ends[1]);
        userStderr.store(saved, std::memory_order_release);
    });
}

} // namespace tabulon::cli
