#include "posix/stale_temporaries.h"

#include <cerrno>
#include <charconv>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tabulon {

namespace {

// The process ID in `name` after `prefix`, when the name has that pattern.
pid_t processOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix))
        return 0;
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end == name.data() || end == name.data() + name.size() || *end != '-')
        return 0;
    return pid;
}

} // namespace

void removeStaleTemporaries(int dir, std::string_view prefix) {
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t pid = processOf(entry->d_name, prefix);
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            (void)::unlinkat(fd, entry->d_name, 0); // one left behind is harmless
    }
    ::closedir(listing);
}

} // namespace tabulon
