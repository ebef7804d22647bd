// Puts itself behind one of the decoder's walls and tries one call, writing
// on standard output "ok" or the error's name; a call the wall answers by
// ending the process writes nothing.
//   sandbox_probe sandbox|sandbox-then-earlier-thread|paths CALL FILE
// "sandbox" is the whole sandbox, entered before CALL, or before a thread
// started earlier makes it; "paths" sets no-new-privileges and applies the
// Landlock part alone (exit 77 where the kernel has none). FILE is held open
// from before the wall, and also open for writing without being kept, and
// named by CALL where it opens by name.
#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "posix/decoder_sandbox.h"

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const std::string wall = argv[1];
    const char* file = argv[3];
    const int held = ::open(file, O_RDONLY | O_CLOEXEC);
    const int notHanded = ::open(file, O_WRONLY | O_CLOEXEC);
    const pid_t parent = ::getppid();
    const rlimit noLockedMemory{0, 0};
    ::setrlimit(RLIMIT_MEMLOCK, &noLockedMemory);

    const std::map<std::string, std::function<bool()>> calls = {
        {"open-by-name", [&] { return ::open(file, O_RDONLY) >= 0; }},
        {"open-environ", [] { return ::open("/proc/self/environ", O_RDONLY) >= 0; }},
        {"create-by-name",
         [&] { return ::open((std::string(file) + ".new").c_str(), O_WRONLY | O_CREAT, 0600) >= 0; }},
        {"write-not-handed", [&] { return ::write(notHanded, "x", 1) == 1; }},
        {"socket", [] { return ::socket(AF_UNIX, SOCK_STREAM, 0) >= 0; }},
        {"execve",
         [&] {
             char* const args[] = {argv[0], nullptr};
             return ::execve(argv[0], args, nullptr) == 0;
         }},
        {"thread",
         [] {
             std::thread([] {}).join();
             return true;
         }},
        {"fork",
         [] {
             const long child = ::syscall(SYS_clone, SIGCHLD, nullptr, nullptr, nullptr, 0);
             if (child == 0)
                 ::_exit(0);
             return child > 0;
         }},
        // The kernel would refuse it (no CLONE_SIGHAND) if the filter let it through.
        {"thread-in-namespace",
         [] {
             return ::syscall(SYS_clone, CLONE_THREAD | CLONE_NEWUSER, nullptr, nullptr, nullptr, 0) >= 0;
         }},
        {"map-anonymous-executable",
         [] {
             return ::mmap(nullptr, 4096, PROT_READ | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) !=
                    MAP_FAILED;
         }},
        // Beyond the locked-memory limit, which the probe set to nothing: root's capability only.
        {"lock-memory",
         [] {
             return ::mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_LOCKED, -1, 0) !=
                    MAP_FAILED;
         }},
        {"map-held-executable",
         [&] { return ::mmap(nullptr, 1, PROT_READ | PROT_EXEC, MAP_PRIVATE, held, 0) != MAP_FAILED; }},
        {"signal-owner", [&] { return ::fcntl(1, F_SETOWN, parent) == 0; }},
        {"signal-self", [] { return ::kill(::getpid(), 0) == 0; }},
        {"signal-parent", [&] { return ::kill(parent, 0) == 0; }},
        {"signal-group", [] { return ::kill(0, 0) == 0; }},
        {"signal-parent-thread", [&] { return ::syscall(SYS_tgkill, parent, parent, 0) == 0; }},
    };
    const auto call = calls.find(argv[2]);
    if (call == calls.end())
        return 2;

    // The call made by a thread that was running before the wall went up.
    bool ok = false;
    int error = 0;
    std::promise<void> walled;
    std::thread early;
    if (wall == "sandbox-then-earlier-thread")
        early = std::thread([&] {
            walled.get_future().wait();
            ok = call->second();
            error = errno;
        });
    // _exit: a thread may be waiting.
    if (wall == "paths") {
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
            ::_exit(3);
        const tabulon::Result<bool, std::string> denied = tabulon::denyEveryPath();
        if (!denied.ok())
            ::_exit(3);
        if (!denied.value())
            ::_exit(77);
    } else {
        const int keep[] = {1, held};
        if (!tabulon::enterDecoderSandbox(keep).ok())
            ::_exit(3);
    }
    if (early.joinable()) {
        walled.set_value();
        early.join();
        errno = error;
    } else {
        ok = call->second();
    }
    const std::string line = ok ? "ok" : strerrorname_np(errno);
    (void)!::write(1, line.data(), line.size());
    return 0;
}
