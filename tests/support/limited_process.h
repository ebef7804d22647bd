#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace tabulon::test {

struct Limits {
    std::chrono::seconds time;
    rlim_t addressSpace; // bytes
};

struct LimitedResult {
    bool timedOut = false; // killed at the time limit
    int signal = 0;        // what ended it, if a signal did
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with an argument list (no shell) in `workDir`, with empty
// standard input and an address-space limit on the child alone, and kills it
// (with anything it started in its process group) at the time limit, so that
// a hang in the program fails a test instead of hanging it.
inline LimitedResult runLimited(const std::string& program, const std::vector<std::string>& args,
                                const std::string& workDir, Limits limits) {
    TempDir io;
    const std::string in = io.write("in", "");
    const std::string out = io / "out";
    const std::string err = io / "err";

    const Argv argv(program, args);
    const rlimit space{limits.addressSpace, limits.addressSpace};

    LimitedResult result;
    const pid_t pid = ::fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the test has threads.
        ::setpgid(0, 0);
        const int inFd = ::open(in.c_str(), O_RDONLY);
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (inFd < 0 || outFd < 0 || errFd < 0 || ::dup2(inFd, 0) < 0 || ::dup2(outFd, 1) < 0 ||
            ::dup2(errFd, 2) < 0 || ::chdir(workDir.c_str()) != 0 || ::setrlimit(RLIMIT_AS, &space) != 0)
            ::_exit(127);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid); // also here, so that the kill below cannot miss the group

    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            result.timedOut = true;
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFSIGNALED(status) && !result.timedOut)
        result.signal = WTERMSIG(status);
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readAll(out);
    result.err = readAll(err);
    return result;
}

} // namespace tabulon::test
