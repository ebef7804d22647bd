#include "posix/decoder_sandbox.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/close_range.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tabulon {

namespace {

std::string failed(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

// Every descriptor but those in `keep`, closed in the ranges between them.
Result<void, std::string> closeAllBut(std::span<const int> keep) {
    std::vector<int> kept(keep.begin(), keep.end());
    std::sort(kept.begin(), kept.end());
    unsigned first = 0;
    for (const int fd : kept) {
        if (fd < 0 || static_cast<unsigned>(fd) < first)
            continue;
        if (static_cast<unsigned>(fd) > first && ::syscall(SYS_close_range, first, fd - 1u, 0u) != 0)
            return failed("cannot close descriptors", errno);
        first = static_cast<unsigned>(fd) + 1;
    }
    if (::syscall(SYS_close_range, first, ~0u, 0u) != 0)
        return failed("cannot close descriptors", errno);
    return {};
}

struct FilterOwner {
    scmp_filter_ctx ctx;
    ~FilterOwner() { seccomp_release(ctx); }
};

Result<void, std::string> installFilter() {
    FilterOwner filter{seccomp_init(SCMP_ACT_ERRNO(EPERM))};
    if (filter.ctx == nullptr)
        return std::string("cannot make the system call filter");
    int rc = 0;
    const auto allow = [&](int call) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 0);
    };
    for (const int call : {SCMP_SYS(read),
                           SCMP_SYS(write),
                           SCMP_SYS(pread64),
                           SCMP_SYS(readv),
                           SCMP_SYS(writev),
                           SCMP_SYS(lseek),
                           SCMP_SYS(fstat),
                           SCMP_SYS(newfstatat),
                           SCMP_SYS(statx),
                           SCMP_SYS(close),
                           SCMP_SYS(dup),
                           SCMP_SYS(fcntl),
                           SCMP_SYS(recvmsg),
                           SCMP_SYS(sendmsg),
                           SCMP_SYS(poll),
                           SCMP_SYS(ppoll),
                           SCMP_SYS(eventfd2),
                           SCMP_SYS(mmap),
                           SCMP_SYS(mprotect),
                           SCMP_SYS(munmap),
                           SCMP_SYS(mremap),
                           SCMP_SYS(madvise),
                           SCMP_SYS(brk),
                           SCMP_SYS(futex),
                           SCMP_SYS(set_robust_list),
                           SCMP_SYS(rseq),
                           SCMP_SYS(sched_yield),
                           SCMP_SYS(sched_getaffinity),
                           SCMP_SYS(clock_gettime),
                           SCMP_SYS(clock_getres),
                           SCMP_SYS(gettimeofday),
                           SCMP_SYS(nanosleep),
                           SCMP_SYS(clock_nanosleep),
                           SCMP_SYS(getrandom),
                           SCMP_SYS(exit),
                           SCMP_SYS(exit_group),
                           SCMP_SYS(rt_sigaction),
                           SCMP_SYS(rt_sigprocmask),
                           SCMP_SYS(rt_sigreturn),
                           SCMP_SYS(sigaltstack),
                           SCMP_SYS(getpid),
                           SCMP_SYS(gettid),
                           SCMP_SYS(getrusage),
                           SCMP_SYS(restart_syscall)})
        allow(call);
    // Threads only: a new process could leave the filter's reach.
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                              SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD));
    // glibc falls back to clone, whose flags the filter can see.
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0);
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                              SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME));
    for (const int call : {SCMP_SYS(open), SCMP_SYS(openat), SCMP_SYS(openat2)}) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ERRNO(EACCES), call, 0);
    }
    // Only to itself.
    const pid_t self = ::getpid();
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1,
                              SCMP_A0(SCMP_CMP_EQ, static_cast<scmp_datum_t>(self)));
    for (const int call : {SCMP_SYS(execve), SCMP_SYS(execveat), SCMP_SYS(ptrace), SCMP_SYS(process_vm_readv),
                           SCMP_SYS(process_vm_writev), SCMP_SYS(kill), SCMP_SYS(tkill)}) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_KILL_PROCESS, call, 0);
    }
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_KILL_PROCESS, SCMP_SYS(tgkill), 1,
                              SCMP_A0(SCMP_CMP_NE, static_cast<scmp_datum_t>(self)));
    if (rc != 0)
        return failed("cannot make the system call filter", -rc);
    if (const int loaded = seccomp_load(filter.ctx); loaded != 0)
        return failed("cannot install the system call filter", -loaded);
    return {};
}

} // namespace

Result<void, std::string> decoderSandboxAvailable() {
    if (::prctl(PR_GET_SECCOMP, 0, 0, 0, 0) < 0)
        return failed("this system gives no system call filters", errno);
    if (seccomp_api_get() < 1)
        return std::string("this system gives no system call filters");
    return {};
}

Result<void, std::string> enterDecoderSandbox(std::span<const int> keep) {
    if (const Result<void, std::string> available = decoderSandboxAvailable(); !available.ok())
        return available;
    if (const Result<void, std::string> closed = closeAllBut(keep); !closed.ok())
        return closed;
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return failed("cannot give up new privileges", errno);
    return installFilter();
}

} // namespace tabulon
