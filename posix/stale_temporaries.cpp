#include "posix/stale_temporaries.h"

#include <algorithm>
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

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetterOrDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool hasShape(std::string_view rest, TemporaryTail tail) {
    if (tail == TemporaryTail::SixLetters)
        return rest.size() == 6 && std::all_of(rest.begin(), rest.end(), isLetterOrDigit);
    if (rest.starts_with("tag"))
        rest.remove_prefix(3);
    const std::size_t digits = std::find_if_not(rest.begin(), rest.end(), isDigit) - rest.begin();
    if (digits == 0)
        return false;
    rest.remove_prefix(digits);
    return rest.empty() || (rest.front() == '.' && rest.size() > 1 && rest.size() <= 6 &&
                            std::all_of(rest.begin() + 1, rest.end(), isLetterOrDigit));
}

// The process ID in `name` after `prefix`, when the whole name has the shape
// of such a temporary.
pid_t processOf(std::string_view name, std::string_view prefix, TemporaryTail tail) {
    if (!name.starts_with(prefix))
        return 0;
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end == name.data() || end == name.data() + name.size() || *end != '-')
        return 0;
    return hasShape(name.substr(static_cast<std::size_t>(end - name.data()) + 1), tail) ? pid : 0;
}

} // namespace

void removeStaleTemporaries(int dir, std::string_view prefix, TemporaryTail tail) {
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t pid = processOf(entry->d_name, prefix, tail);
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            (void)::unlinkat(fd, entry->d_name, 0); // one left behind is harmless
    }
    ::closedir(listing);
}

} // namespace tabulon
