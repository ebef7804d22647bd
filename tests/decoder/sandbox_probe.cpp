// Enters the decoder's sandbox as tabulon-decoder does, after loading the
// media module, and reports on standard output (the one descriptor it keeps
// besides the pictures) what it may still do: a line per attempt, "name
// errno-name" or "name ok". Then it tries execve, which ends it.
//   sandbox_probe MODULE FILE NOT-HANDED PICTURE...
// FILE is opened by its name after the sandbox closed; NOT-HANDED is opened
// before, and not kept.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "modules/media_module.h"
#include "posix/decoder_sandbox.h"
#include "posix/shared_module.h"

namespace {

void report(const std::string& what, bool ok, const char* otherwise = nullptr) {
    const std::string line = what + " " + (ok ? "ok" : otherwise ? otherwise : strerrorname_np(errno)) + "\n";
    (void)!::write(1, line.data(), line.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return 2;
    tabulon::SharedModule module;
    if (!module.open(argv[1]).ok())
        return 3;
    const auto init = module.function<TabulonMediaInit>(kMediaInit);
    const auto thumbnail = module.function<TabulonMediaThumbnail>(kMediaThumbnail);
    const auto release = module.function<TabulonMediaFree>(kMediaFree);
    const auto metaOpen = module.function<TabulonMediaMetaOpen>(kMediaMetaOpen);
    const auto metaClose = module.function<TabulonMediaMetaClose>(kMediaMetaClose);
    char reason[512] = {};
    if (!init.ok() || !thumbnail.ok() || !release.ok() || !metaOpen.ok() || !metaClose.ok() ||
        init.value()(reason, sizeof reason) != 0)
        return 4;
    const int notHanded = ::open(argv[3], O_WRONLY | O_CLOEXEC);
    std::vector<int> keep = {1};
    for (int i = 4; i < argc; ++i)
        keep.push_back(::open(argv[i], O_RDONLY | O_CLOEXEC));
    if (const tabulon::Result<void, std::string> walled = tabulon::enterDecoderSandbox(keep); !walled.ok()) {
        std::fprintf(stderr, "%s\n", walled.error().c_str());
        return 5;
    }

    report("open-by-name", ::open(argv[2], O_RDONLY) >= 0);
    report("open-environ", ::open("/proc/self/environ", O_RDONLY) >= 0);
    report("openat-by-name", ::openat(AT_FDCWD, argv[2], O_RDONLY) >= 0);
    report("socket-inet", ::socket(AF_INET, SOCK_STREAM, 0) >= 0);
    report("socket-unix", ::socket(AF_UNIX, SOCK_STREAM, 0) >= 0);
    report("write-not-handed", ::write(notHanded, "x", 1) == 1);
    report("write-stderr", ::write(2, "x", 1) == 1);
    for (int i = 4; i < argc; ++i) {
        const int fd = keep[static_cast<std::size_t>(i - 3)];
        int width = 0;
        int height = 0;
        void* bytes = nullptr;
        std::size_t size = 0;
        const int made =
            thumbnail.value()(fd, ".png", 16, &width, &height, &bytes, &size, reason, sizeof reason);
        release.value()(bytes);
        report(std::string("thumbnail ") + argv[i], made == 0 && size > 0, reason);
        void* meta = metaOpen.value()(fd);
        report(std::string("metadata ") + argv[i], meta != nullptr, "none");
        metaClose.value()(meta);
    }
    char* const args[] = {argv[0], nullptr};
    ::execve(argv[0], args, nullptr);
    report("execve", false);
    return 0;
}
