// Each wall of the decoder's sandbox, one call at a time: what it forbids
// fails, or ends the process where the call could only be an attack, and what
// decoding needs still works (every picture type is read through the
// sandboxed decoder in the pool's tests).
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "posix/decoder_sandbox.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

struct Wall {
    const char* wall;
    const char* call;
    const char* answer; // written by the probe; empty where it was ended
};

TEST(DecoderSandbox, EachForbiddenCallFailsOrEndsTheDecoderAndWhatDecodingNeedsStillWorks) {
    if (const Result<void, std::string> available = decoderSandboxAvailable(); !available.ok())
        GTEST_SKIP() << available.error();
    test::TempDir dir;
    const std::string file = dir.write("picture", "held");
    const Wall walls[] = {
        // Landlock alone denies what the system call filter would let through.
        {"paths", "open-by-name", "EACCES"},
        {"paths", "open-environ", "EACCES"},
        {"paths", "create-by-name", "EACCES"},
        // The whole sandbox: every thread behind it, one started before too; threads but no processes;
        // executable memory, but never a file's; signals to itself only; no descriptor it was not handed.
        {"sandbox-then-earlier-thread", "open-by-name", "EACCES"},
        {"sandbox-then-earlier-thread", "lock-memory", "EPERM"},
        {"sandbox", "write-not-handed", "EBADF"},
        {"sandbox", "socket", "EPERM"},
        {"sandbox", "execve", ""},
        {"sandbox", "map-held-executable", "EPERM"},
        {"sandbox", "map-anonymous-executable", "ok"},
        {"sandbox", "thread", "ok"},
        {"sandbox", "fork", "EPERM"},
        {"sandbox", "thread-in-namespace", "EPERM"},
        {"sandbox", "signal-owner", "EPERM"},
        {"sandbox", "signal-self", "ok"},
        {"sandbox", "signal-parent", ""},
        {"sandbox", "signal-group", ""},
        {"sandbox", "signal-parent-thread", ""},
    };
    for (const Wall& w : walls) {
        SCOPED_TRACE(std::string(w.wall) + " " + w.call);
        const test::ProcessResult r = test::runProcess(TABULON_SANDBOX_PROBE, {w.wall, w.call, file});
        if (r.exitCode == 77)
            continue; // no Landlock in this kernel
        EXPECT_EQ(r.exitCode, *w.answer != '\0' ? 0 : 128 + SIGSYS) << r.err;
        EXPECT_EQ(r.out, w.answer);
    }
    EXPECT_EQ(test::readAll(file), "held");
}

} // namespace
} // namespace tabulon
