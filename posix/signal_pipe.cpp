#include "posix/signal_pipe.h"

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace tabulon {

namespace {

int g_socket[2] = {-1, -1};

// Only async-signal-safe work here.
void onSignal(int) {
    const int saved = errno; // the interrupted code may be about to read it
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_socket[1], &byte, 1);
    errno = saved;
}

void setAction(std::initializer_list<int> which, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : which)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

int watchSignals(std::initializer_list<int> which) {
    // Made once and kept for the life of the process: a handler may still run
    // while a watcher goes away.
    if (g_socket[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_socket) != 0)
        return -1;
    setAction(which, onSignal);
    return g_socket[0];
}

void takeSignal(int watchedEnd) {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(watchedEnd, &byte, 1);
}

void restoreSignals(std::initializer_list<int> which) {
    setAction(which, SIG_DFL);
}

} // namespace tabulon
