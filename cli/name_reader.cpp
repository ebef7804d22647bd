#include "cli/name_reader.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace tabulon::cli {

NameList::NameList(std::string path) : path_(std::move(path)) {
    if (path_ == "-") {
        fd_ = STDIN_FILENO;
        return;
    }
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        openError_ = IoError{path_, {errno, std::generic_category()}};
    else
        ownsFd_ = true;
}

NameList::NameList(NameList&& other) noexcept
    : path_(std::move(other.path_)), fd_(other.fd_), ownsFd_(other.ownsFd_), openError_(other.openError_) {
    other.fd_ = -1;
    other.ownsFd_ = false;
}

NameList::~NameList() {
    if (ownsFd_)
        ::close(fd_);
}

IoResult NameList::ForEach(bool nulSeparated, const std::function<void(std::string_view)>& onName) {
    if (openError_)
        return openError_;
    const char separator = nulSeparated ? '\0' : '\n';
    const auto emit = [&](std::string_view name) {
        if (!nulSeparated && !name.empty() && name.back() == '\r')
            name.remove_suffix(1);
        if (!name.empty())
            onName(name);
    };

    constexpr std::size_t kBlock = std::size_t{1} << 20;
    std::size_t capacity = kBlock;
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t kept = 0; // an unfinished name carried over from the last block
    for (;;) {
        if (kept == capacity) {
            // One name longer than the buffer: let it grow.
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), buffer.get(), kept);
            buffer = std::move(larger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd_, buffer.get() + kept, capacity - kept);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return IoError{path_ == "-" ? "standard input" : path_, {errno, std::generic_category()}};
        }
        if (n == 0)
            break;
        const char* p = buffer.get();
        const char* const end = p + kept + static_cast<std::size_t>(n);
        while (const auto* next =
                   static_cast<const char*>(std::memchr(p, separator, static_cast<std::size_t>(end - p)))) {
            emit({p, static_cast<std::size_t>(next - p)});
            p = next + 1;
        }
        kept = static_cast<std::size_t>(end - p);
        std::memmove(buffer.get(), p, kept);
    }
    emit({buffer.get(), kept});
    return std::nullopt;
}

} // namespace tabulon::cli
