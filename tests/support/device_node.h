#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tabulon::test {

// The minor numbers of the null and the full device.
inline constexpr unsigned kNullMinor = 3;
inline constexpr unsigned kFullMinor = 7;

// A character device node of the test's own in `dir` with the numbers of a
// memory device (major 1), so that a program told to write there can harm
// nothing of the system's even if it replaced it. Nothing where nodes cannot
// be made or opened (no CAP_MKNOD, a device cgroup): the caller skips.
inline std::optional<std::string> memoryDevice(const TempDir& dir, const std::string& name, unsigned minor) {
    const std::string node = dir / name;
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return std::nullopt;
    const int fd = ::open(node.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    return node;
}

} // namespace tabulon::test
