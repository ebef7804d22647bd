#include "cli/name_reader.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tabulon::cli {

NameList::NameList(std::string path) : path_(std::move(path)) {
    if (path_ == "-")
        return;
    file_.reset(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file_)
        openError_ = IoError{path_, {errno, std::generic_category()}};
}

int NameList::fd() const {
    return path_ == "-" ? STDIN_FILENO : file_.get();
}

IoResult NameList::forEach(bool nulSeparated, const std::function<void(std::string_view)>& onName) {
    if (!openError_.ok())
        return openError_;
    const std::string source = path_ == "-" ? "standard input" : path_;
    const char separator = nulSeparated ? '\0' : '\n';
    // No file has a longer name, and a bound keeps an endless "name" (a list
    // without separators, /dev/zero) from taking all memory.
    constexpr std::size_t kLongest = PATH_MAX - 1;
    std::size_t number = 0; // of the name at hand, from 1; blank ones count too
    const auto tooLong = [&] {
        return IoError{source + (nulSeparated ? ": entry " : ": line ") + std::to_string(number),
                       {ENAMETOOLONG, std::generic_category()}};
    };
    const auto take = [&](std::string_view name) {
        ++number;
        if (!nulSeparated && !name.empty() && name.back() == '\r')
            name.remove_suffix(1);
        if (name.size() > kLongest)
            return false;
        if (!name.empty())
            onName(name);
        return true;
    };

    // Far larger than the longest name, so an unfinished one always leaves room to read.
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    std::size_t kept = 0; // an unfinished name carried over from the last block
    for (;;) {
        const ssize_t n = ::read(fd(), buffer.get() + kept, kBlock - kept);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoError{source, {errno, std::generic_category()}};
        }
        if (n == 0)
            break;
        const char* p = buffer.get();
        const char* const end = p + kept + static_cast<std::size_t>(n);
        while (const auto* next =
                   static_cast<const char*>(std::memchr(p, separator, static_cast<std::size_t>(end - p)))) {
            if (!take({p, static_cast<std::size_t>(next - p)}))
                return tooLong();
            p = next + 1;
        }
        kept = static_cast<std::size_t>(end - p);
        if (kept > kLongest + 1) { // too long even if a CR comes off it
            ++number;
            return tooLong();
        }
        std::memmove(buffer.get(), p, kept);
    }
    if (!take({buffer.get(), kept}))
        return tooLong();
    return {};
}

} // namespace tabulon::cli
