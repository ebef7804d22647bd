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

// `program` and `args` as the null-ended list exec takes; kept in place, as
// the list points into its strings.
class Argv {
public:
    Argv(const std::string& program, const std::vector<std::string>& args) : all_{program} {
        all_.insert(all_.end(), args.begin(), args.end());
        for (std::string& a : all_)
            pointers_.push_back(a.data());
        pointers_.push_back(nullptr);
    }
    Argv(const Argv&) = delete;
    Argv& operator=(const Argv&) = delete;
    char* const* data() const { return pointers_.data(); }

private:
    std::vector<std::string> all_;
    std::vector<char*> pointers_;
};

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Where a child's standard output goes: collected, into a file or device the
// test made in its own folder (a full one stands for a full disk), or a
// closed descriptor.
struct Stdout {
    enum Kind { Collected, Into, Closed };
    Stdout(Kind kind = Collected) : kind(kind) {} // implicit: a kind alone says it all
    static Stdout into(std::string path) {
        Stdout to(Into);
        to.path = std::move(path);
        return to;
    }
    Kind kind;
    std::string path;
};

// Runs a program with an argument list (no shell), feeding `input` to its
// standard input and collecting both outputs.
inline ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = {}, const std::string& workDir = {},
                                const Stdout& stdoutTo = Stdout::Collected) {
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

    Argv argv(program, args);

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
