#pragma once

#include <cerrno>
#include <cstddef>
#include <string_view>

#include <unistd.h>

namespace tabulon {

// Writes all of `bytes` to `fd`, going on after an interrupted or short
// write. 0 when done, else the errno of the write that failed (EIO for a
// write that took nothing). Header only: the media module uses it too.
[[nodiscard]] inline int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

} // namespace tabulon
