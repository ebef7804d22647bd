#include "persist/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tabulon {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writing through a link updates the file it points to, as editors do.
std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

IoResult AtomicFileWriter::open() {
    discard();
    if (path_.empty())
        return failure(ENOENT);
    target_ = ResolveLink(path_);

    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return failure(EISDIR);
    // A file the user may not write stays as it is, though its folder would
    // let a new file take its place.
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return failure(errno);

    const std::string folder = FolderOf(target_);
    const std::size_t slash = target_.rfind('/');
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/." + base + ".tmp" + std::to_string(random() % 1000000000u);
        // 0666 so that the process's umask decides, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(candidate);
            if (exists)
                (void)::fchmod(fd_, st.st_mode & 07777);
            return std::nullopt;
        }
        if (errno != EEXIST)
            return failure(errno);
    }
    return failure(EEXIST);
}

IoResult AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0)
        return failure(EBADF);
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

IoResult AtomicFileWriter::commit() {
    if (fd_ < 0)
        return failure(EBADF);
    if (::fsync(fd_) != 0) {
        const int err = errno;
        discard();
        return failure(err);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        discard();
        return failure(err);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int err = errno;
        discard();
        return failure(err);
    }
    temp_.clear();
    // Make the rename itself durable; a failure here loses nothing.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

IoResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    if (auto err = writer.open())
        return err;
    if (auto err = writer.write(bytes))
        return err;
    return writer.commit();
}

} // namespace tabulon
