#include "browser/xdg_open_launcher.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

#include <QTimer>

extern char** environ;

namespace tabulon {

int CodeForExitStatus(int status) {
    return status == 3 ? kNoAssociation : status;
}

void XdgOpenLauncher::Open(const QString& address, std::function<void(int code)> done) {
    QByteArray program("xdg-open");
    QByteArray argument = address.toUtf8();
    char* argv[] = {program.data(), argument.data(), nullptr};

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.constData(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        done(kNoAssociation);
        return;
    }

    // xdg-open may wait for the browser it started: look in now and then
    // instead of waiting, so the window never freezes.
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [poll, pid, done = std::move(done)] {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR))
            return;
        poll->stop();
        poll->deleteLater();
        if (ended < 0)
            done(0); // reaped elsewhere: nothing to tell
        else if (WIFEXITED(status))
            done(CodeForExitStatus(WEXITSTATUS(status)));
        else
            done(128 + WTERMSIG(status));
    });
    poll->start();
}

} // namespace tabulon
