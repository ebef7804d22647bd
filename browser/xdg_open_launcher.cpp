#include "browser/xdg_open_launcher.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

#include <QElapsedTimer>
#include <QTimer>
#include <fcntl.h>

extern char** environ;

namespace tabulon {

namespace {

constexpr qint64 kOpeningTime = 10000; // ms an opener has to report a failure

} // namespace

int codeForExitStatus(int status) {
    return status == 3 ? kNoAssociation : status;
}

// posix_spawn and not QProcess, which tabulon-host uses for the plug-in: a
// QProcess kills its child when it goes, so closing the window while xdg-open
// still waits for its browser would kill xdg-open, or the browser itself when
// xdg-open became it through exec; a detached QProcess is no child of ours
// and gives no exit status, which the "no handler" message needs.
void XdgOpenLauncher::open(const QString& address, std::function<void(int code)> done) {
    QByteArray program("xdg-open");
    QByteArray argument = address.toUtf8();
    char* argv[] = {program.data(), argument.data(), nullptr};

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    // Nothing of ours is handed on: a browser holding our output open would
    // keep an editor that reads it (tabulon-host run) waiting.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (const int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.constData(), &files, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        done(kNoAssociation);
        return;
    }

    // xdg-open may wait for the browser it started: look in now and then
    // instead of waiting, so the window never freezes. What a browser does
    // long after it opened the page is no failure to open it.
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    QElapsedTimer age;
    age.start();
    connect(poll, &QTimer::timeout, this, [poll, pid, age, done = std::move(done)] {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR)) {
            if (age.elapsed() > kOpeningTime)
                poll->setInterval(1000);
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (ended < 0 || age.elapsed() > kOpeningTime)
            done(0);
        else if (WIFEXITED(status))
            done(codeForExitStatus(WEXITSTATUS(status)));
        else
            done(128 + WTERMSIG(status));
    });
    poll->start();
}

} // namespace tabulon
