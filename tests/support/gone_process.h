#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tabulon::test {

// The ID of a process that has ended and been reaped: what a run killed
// earlier leaves in the names of its temporary files.
inline pid_t goneProcess() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

} // namespace tabulon::test
