#pragma once

#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace tabulon::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Where a child's standard output goes: collected, into a file or device the
// test made in its own folder (a full one stands for a full disk), or a
// closed descriptor.
struct Stdout {
    enum Kind { Collected, Into, Closed } kind = Collected;
    std::string path = {}; // for Into
};

// Runs a program with an argument list (no shell), feeding `input` to its
// standard input and collecting both outputs.
inline ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = {}, const std::string& workDir = {},
                                const Stdout& stdoutTo = {}) {
    TempDir io;
    const std::string in = io.write("in", input);
    const std::string out = io / "out";
    const std::string err = io / "err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    if (stdoutTo.kind == Stdout::Collected)
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else if (stdoutTo.kind == Stdout::Into)
        posix_spawn_file_actions_addopen(&actions, 1, stdoutTo.path.c_str(), O_WRONLY, 0);
    else
        posix_spawn_file_actions_addclose(&actions, 1);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());

    // The null-ended list exec takes, pointing into `all`.
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    ProcessResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readAll(out);
    result.err = readAll(err);
    return result;
}

} // namespace tabulon::test
