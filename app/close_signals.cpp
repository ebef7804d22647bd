#include "app/close_signals.h"

#include <cerrno>
#include <csignal>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <sys/socket.h>
#include <unistd.h>

namespace tabulon {

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: wake the event loop.
void OnSignal(int) {
    const int saved = errno; // the interrupted code may be about to read it
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

CloseOnSignals::CloseOnSignals(QWidget* window) : QObject(window), window_(window) {
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], &byte, 1);
        // An open dialog would hold the close back until the user answers it.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            if (QApplication::activeModalWidget() == modal)
                break;
        }
        window_->close();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

CloseOnSignals::~CloseOnSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace tabulon
