#include "base/file_content.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix/unique_fd.h"

namespace tabulon {

namespace {

class ReaderCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "tabulon.reader"; }
    std::string message(int ev) const override {
        switch (static_cast<FileReaderError>(ev)) {
        case FileReaderError::NotRegularFile:
            return "not a regular file";
        case FileReaderError::NameHasNul:
            return "the name holds a NUL character";
        }
        return "unknown error";
    }
};

std::error_code make(FileReaderError e) {
    return {static_cast<int>(e), fileReaderCategory()};
}

} // namespace

const std::error_category& fileReaderCategory() {
    static const ReaderCategory category;
    return category;
}

void FileReader::reserve(std::size_t capacity) {
    if (capacity <= capacity_)
        return;
    std::size_t grown = capacity_ < 4096 ? 4096 : capacity_;
    while (grown < capacity)
        grown *= 2;
    auto fresh = std::make_unique_for_overwrite<char[]>(grown);
    if (size_ > 0)
        std::memcpy(fresh.get(), buf_.get(), size_);
    buf_ = std::move(fresh);
    capacity_ = grown;
}

IoResult FileReader::readAt(std::string_view path, std::uint64_t offset, std::size_t limit) {
    size_ = 0;
    const auto failed = [path](std::error_code code) { return IoError{std::string(path), code}; };
    if (path.find('\0') != std::string_view::npos)
        return failed(make(FileReaderError::NameHasNul));
    const std::string name(path);

    // Look before opening: opening a device can have effects of its own.
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0)
        return failed({errno, std::generic_category()});
    if (!S_ISREG(st.st_mode))
        return failed(S_ISDIR(st.st_mode) ? std::error_code(EISDIR, std::generic_category())
                                          : make(FileReaderError::NotRegularFile));

    // O_NONBLOCK keeps a FIFO swapped in after the look from blocking the open.
    const UniqueFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return failed({errno, std::generic_category()});
    if (::fstat(fd.get(), &st) != 0)
        return failed({errno, std::generic_category()});
    if (!S_ISREG(st.st_mode))
        return failed(make(FileReaderError::NotRegularFile));

    // A piece past the end is empty; from here on the size counts from the offset.
    if (offset > 0) {
        if (offset >= static_cast<std::uint64_t>(st.st_size) ||
            ::lseek(fd.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
            return {};
        st.st_size -= static_cast<off_t>(offset);
    }

    // The size is a hint only: the file may grow or shrink while it is read.
    // Files without blocks behind their size (/proc/kcore claims terabytes)
    // get a modest start and grow as they deliver.
    constexpr std::size_t kUnbackedHint = std::size_t{64} << 20;
    const auto size = static_cast<std::size_t>(st.st_size);
    const bool backed = static_cast<std::size_t>(st.st_blocks) * 512 >= size;
    reserve(std::min((backed ? size : std::min(size, kUnbackedHint)) + 1, limit));
    while (size_ < limit) {
        if (size_ == capacity_)
            reserve(capacity_ * 2);
        const std::size_t wanted = std::min(capacity_, limit) - size_;
        const ssize_t n = ::read(fd.get(), buf_.get() + size_, wanted);
        if (n > 0) {
            size_ += static_cast<std::size_t>(n);
            // A short read that reaches the size the file claimed is its end:
            // spare the extra call. Files of /proc claim 0 and read in pieces.
            if (static_cast<std::size_t>(n) < wanted && st.st_size > 0 &&
                size_ >= static_cast<std::size_t>(st.st_size))
                break;
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            // What was read so far stands; a read error is no failure to open.
            break;
        }
    }
    return {};
}

} // namespace tabulon
