#include "posix/decoder_sandbox.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/capability.h>
#include <linux/close_range.h>
#include <linux/landlock.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "posix/unique_fd.h"

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

// Whatever rights the process that started it had (root's, say), a decoder needs none.
Result<void, std::string> dropCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capset, &header, none) != 0)
        return failed("cannot give up capabilities", errno);
    return {};
}

// Landlock's file-system rights by the ABI that brought them (the system's header may know fewer): the
// first ABI's thirteen, then linking across folders, truncating, and device ioctls.
std::uint64_t fileSystemRights(long abi) {
    std::uint64_t rights = (1ULL << 13) - 1;
    if (abi >= 2)
        rights |= 1ULL << 13;
    if (abi >= 3)
        rights |= 1ULL << 14;
    if (abi >= 5)
        rights |= 1ULL << 15;
    return rights;
}

struct FilterOwner {
    scmp_filter_ctx ctx;
    ~FilterOwner() { seccomp_release(ctx); }
};

Result<void, std::string> installFilter() {
    FilterOwner filter{seccomp_init(SCMP_ACT_ERRNO(EPERM))};
    if (filter.ctx == nullptr)
        return std::string("cannot make the system call filter");
    // Every thread, those libvips started while it readied itself too; a call through another
    // architecture's numbers (int 0x80) ends the process.
    int rc = seccomp_attr_set(filter.ctx, SCMP_FLTATR_CTL_TSYNC, 1);
    if (rc == 0)
        rc = seccomp_attr_set(filter.ctx, SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_KILL_PROCESS);
    const auto allow = [&](int call) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 0);
    };
    for (const int call :
         {SCMP_SYS(read), SCMP_SYS(write), SCMP_SYS(pread64), SCMP_SYS(readv), SCMP_SYS(writev),
          SCMP_SYS(lseek), SCMP_SYS(fstat), SCMP_SYS(newfstatat), SCMP_SYS(statx), SCMP_SYS(close),
          SCMP_SYS(dup), SCMP_SYS(recvmsg), SCMP_SYS(sendmsg), SCMP_SYS(poll), SCMP_SYS(ppoll),
          SCMP_SYS(eventfd2), SCMP_SYS(mprotect), SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(brk),
          SCMP_SYS(futex), SCMP_SYS(set_robust_list), SCMP_SYS(rseq), SCMP_SYS(sched_yield),
          SCMP_SYS(sched_getaffinity), SCMP_SYS(clock_gettime), SCMP_SYS(clock_getres),
          SCMP_SYS(gettimeofday), SCMP_SYS(nanosleep), SCMP_SYS(clock_nanosleep), SCMP_SYS(getrandom),
          SCMP_SYS(exit), SCMP_SYS(exit_group), SCMP_SYS(rt_sigaction), SCMP_SYS(rt_sigprocmask),
          SCMP_SYS(rt_sigreturn), SCMP_SYS(sigaltstack), SCMP_SYS(getpid), SCMP_SYS(gettid),
          SCMP_SYS(getrusage), SCMP_SYS(restart_syscall),
          // The same calls under 32-bit systems' names; elsewhere the filter skips them.
          SCMP_SYS(_llseek), SCMP_SYS(fstat64), SCMP_SYS(fstatat64), SCMP_SYS(futex_time64),
          SCMP_SYS(ppoll_time64), SCMP_SYS(clock_gettime64), SCMP_SYS(clock_getres_time64),
          SCMP_SYS(clock_nanosleep_time64), SCMP_SYS(sigreturn)})
        allow(call);
    // Not F_SETOWN and F_SETSIG, which would have the kernel signal another process, nor leases and locks
    // on the pictures.
    for (const int call : {SCMP_SYS(fcntl), SCMP_SYS(fcntl64)}) {
        for (const int command : {F_GETFD, F_SETFD, F_GETFL, F_SETFL, F_DUPFD, F_DUPFD_CLOEXEC}) {
            if (rc == 0)
                rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 1,
                                      SCMP_A1(SCMP_CMP_EQ, static_cast<scmp_datum_t>(command)));
        }
    }
    // Executable memory only anonymous (libvips compiles its vector code at run time), never a file's; none
    // locked, and no page taken out of service (MADV_HWPOISON and MADV_SOFT_OFFLINE after it): capabilities
    // are given up by the entering thread only.
    for (const int call : {SCMP_SYS(mmap), SCMP_SYS(mmap2)}) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 2,
                                  SCMP_A2(SCMP_CMP_MASKED_EQ, PROT_EXEC, 0),
                                  SCMP_A3(SCMP_CMP_MASKED_EQ, MAP_LOCKED, 0));
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 1,
                                  SCMP_A3(SCMP_CMP_MASKED_EQ, MAP_ANONYMOUS | MAP_LOCKED, MAP_ANONYMOUS));
    }
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(madvise), 1,
                              SCMP_A2(SCMP_CMP_LT, MADV_HWPOISON));
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(madvise), 1,
                              SCMP_A2(SCMP_CMP_GT, MADV_HWPOISON + 1));
    // Threads only, in no namespace of their own: a new process could leave the filter's reach.
    constexpr scmp_datum_t kThreadOnly = CLONE_THREAD | CLONE_NEWNS | CLONE_NEWCGROUP | CLONE_NEWUTS |
                                         CLONE_NEWIPC | CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNET;
#if defined(__s390__)
    const scmp_arg_cmp cloneFlags = SCMP_A1(SCMP_CMP_MASKED_EQ, kThreadOnly, CLONE_THREAD);
#else
    const scmp_arg_cmp cloneFlags = SCMP_A0(SCMP_CMP_MASKED_EQ, kThreadOnly, CLONE_THREAD);
#endif
    if (rc == 0)
        rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1, cloneFlags);
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
    for (const int call : {SCMP_SYS(execve), SCMP_SYS(execveat), SCMP_SYS(ptrace), SCMP_SYS(process_vm_readv),
                           SCMP_SYS(process_vm_writev), SCMP_SYS(tkill)}) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_KILL_PROCESS, call, 0);
    }
    // Signals to itself only (abort); 0 and -1 would reach its group and every process it may signal.
    const auto self = static_cast<scmp_datum_t>(::getpid());
    for (const int call : {SCMP_SYS(kill), SCMP_SYS(tgkill)}) {
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_ALLOW, call, 1, SCMP_A0(SCMP_CMP_EQ, self));
        if (rc == 0)
            rc = seccomp_rule_add(filter.ctx, SCMP_ACT_KILL_PROCESS, call, 1, SCMP_A0(SCMP_CMP_NE, self));
    }
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
    // Filters for every thread at once, and ending the whole process: Linux 4.14.
    if (seccomp_api_get() < 3)
        return std::string("this system gives no system call filters");
    return {};
}

Result<bool, std::string> denyEveryPath() {
    const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 0) {
        // Not built in, off at boot, or refused by a filter around us (the kernel never refuses this
        // query): the system call filter alone keeps files away.
        if (errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM)
            return false;
        return failed("cannot ask for Landlock", errno);
    }
    // Every right handled and no rule added: every path denied.
    landlock_ruleset_attr attr{};
    attr.handled_access_fs = fileSystemRights(abi);
    const UniqueFd ruleset(static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0u)));
    if (ruleset.get() < 0)
        return failed("cannot make the Landlock rule set", errno);
    if (::syscall(SYS_landlock_restrict_self, ruleset.get(), 0u) != 0)
        return failed("cannot apply the Landlock rule set", errno);
    return true;
}

Result<void, std::string> enterDecoderSandbox(std::span<const int> keep) {
    if (const Result<void, std::string> available = decoderSandboxAvailable(); !available.ok())
        return available;
    if (const Result<void, std::string> closed = closeAllBut(keep); !closed.ok())
        return closed;
    if (const Result<void, std::string> dropped = dropCapabilities(); !dropped.ok())
        return dropped;
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return failed("cannot give up new privileges", errno);
    // Before the filter, which lets no Landlock call through.
    if (const Result<bool, std::string> denied = denyEveryPath(); !denied.ok())
        return denied.error();
    return installFilter();
}

} // namespace tabulon
