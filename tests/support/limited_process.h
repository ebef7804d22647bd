#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "support/run_process.h"

namespace tabulon::test {

struct Limits {
    std::chrono::seconds time;
    rlim_t addressSpace = RLIM_INFINITY; // bytes
};

// The exit status of a run killed at its time limit (128 + SIGKILL).
constexpr int kTimedOut = 137;

// Runs a program with an argument list (no shell) in `workDir` under an
// address-space limit on it alone, and kills it (with anything it started) at
// the time limit, so that a hang fails a test instead of hanging it.
inline ProcessResult runLimited(const std::string& program, const std::vector<std::string>& args,
                                const std::string& workDir, Limits limits) {
    std::vector<std::string> all = {
        "--as=" + (limits.addressSpace == RLIM_INFINITY ? "unlimited" : std::to_string(limits.addressSpace)),
        "/usr/bin/timeout",
        "-s",
        "KILL",
        std::to_string(limits.time.count()),
        program};
    all.insert(all.end(), args.begin(), args.end());
    return runProcess("/usr/bin/prlimit", all, {}, workDir);
}

} // namespace tabulon::test
