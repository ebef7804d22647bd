#include "persist/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix/stale_temporaries.h"
#include "posix/write_all.h"

namespace tabulon {

namespace {

// As many links in a row as the kernel follows before it gives up.
constexpr int kMaxLinks = 40;

class RefusalCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "tabulon.write"; }
    std::string message(int) const override { return "is a socket, not a file"; }
};

std::error_code socketRefused() {
    static const RefusalCategory category;
    return {1, category};
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows the links that the last part of `name` leads through, as the kernel
// does, to the name of the file itself or to the missing name that a
// dangling link points at. Returns 0 or an errno value.
int followLinks(std::string& name) {
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (links == kMaxLinks)
            return ELOOP;
        std::string text(PATH_MAX, '\0');
        const ssize_t n = ::readlink(name.c_str(), text.data(), text.size());
        if (n < 0)
            return errno;
        if (static_cast<std::size_t>(n) == text.size())
            return ENAMETOOLONG;
        text.resize(static_cast<std::size_t>(n));
        name = text.starts_with('/') ? text : folderOf(name) + "/" + text;
    }
}

// "." + as much of `base` as fits + ".tmp": the start of every temporary
// name for `base`, short enough that a whole one fits wherever `base` fits.
std::string temporaryPrefix(std::string_view base, std::size_t limit) {
    constexpr std::size_t kTail = 4 + 10 + 1 + 6; // ".tmp", a process ID, '-', six letters
    std::size_t keep = std::min(base.size(), limit > kTail + 1 ? limit - kTail - 1 : 0);
    // Cut between characters, so that a name in UTF-8 stays UTF-8.
    while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80)
        --keep;
    return "." + std::string(base.substr(0, keep)) + ".tmp";
}

// The prefix, this process's ID (so that a later run can tell a temporary
// of a run that is gone), '-' and six random letters.
std::string temporaryName(const std::string& prefix, std::mt19937_64& random) {
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = prefix + std::to_string(::getpid()) + "-";
    for (int i = 0; i < 6; ++i)
        name += kLetters[random() % kLetters.size()];
    return name;
}

// The owner and group go first, where the process may set them (root always,
// a user a group of their own): a change of owner clears the set-ID bits
// that the mode then brings back.
void keepOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        // Failing both, the file is the user's, as any file they make would be.
        const bool kept = ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                          ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
        static_cast<void>(kept);
    }
    (void)::fchmod(fd, old.st_mode & 07777);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    fd_.reset();
    if (!temp_.empty()) {
        ::unlinkat(dir_.get(), temp_.c_str(), 0);
        temp_.clear();
    }
    dir_.reset();
}

IoResult AtomicFileWriter::openInto(int flags) {
    // O_NOCTTY: a terminal named as the output does not become ours.
    fd_.reset(::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags));
    if (!fd_)
        return failure(errno);
    return {};
}

IoResult AtomicFileWriter::open() {
    discard();
    if (path_.empty())
        return failure(ENOENT);

    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return failure(errno); // a link loop among others
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return failure(EISDIR);
        if (S_ISSOCK(st.st_mode))
            return failure(socketRefused());
        if (!S_ISREG(st.st_mode))
            return openInto(0); // a device or FIFO has no contents to replace
        // A file the user may not write stays as it is, though its folder
        // would let a new file take its place.
        if (::access(path_.c_str(), W_OK) != 0)
            return failure(errno);
    }

    // Writing through a link updates the file it points to, as editors do; a
    // dangling link gets the file it names.
    std::string target = path_;
    if (const int err = followLinks(target))
        return failure(err);
    if (exists) {
        struct stat found {};
        // A file whose name is gone (behind /proc/self/fd) can only be
        // written into.
        if (::stat(target.c_str(), &found) != 0 || found.st_dev != st.st_dev || found.st_ino != st.st_ino)
            return openInto(O_TRUNC);
    }
    const std::size_t slash = target.rfind('/');
    name_ = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name_.empty())
        return failure(EISDIR);
    dir_.reset(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir_)
        return failure(errno);
    const long limit = ::fpathconf(dir_.get(), _PC_NAME_MAX);

    const std::string prefix = temporaryPrefix(name_, limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX);
    removeStaleTemporaries(dir_.get(), prefix, TemporaryTail::SixLetters);

    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temporaryName(prefix, random);
        // 0666 so that the process's umask decides, as for any new file.
        fd_.reset(::openat(dir_.get(), candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd_) {
            temp_ = std::move(candidate);
            if (exists)
                keepOwnerAndMode(fd_.get(), st);
            return {};
        }
        if (errno != EEXIST)
            return failure(errno);
    }
    return failure(EEXIST);
}

IoResult AtomicFileWriter::write(std::string_view bytes) {
    if (!fd_)
        return failure(EBADF);
    if (const int error = writeAll(fd_.get(), bytes); error != 0)
        return failure(error);
    return {};
}

IoResult AtomicFileWriter::commit() {
    if (!fd_)
        return failure(EBADF);
    UniqueFd fd = std::move(fd_);
    if (temp_.empty()) // written into the target itself: nothing to replace
        return fd.close() == 0 ? IoResult() : failure(errno);
    if (::fsync(fd.get()) != 0) {
        const int err = errno;
        fd.reset();
        discard();
        return failure(err);
    }
    if (fd.close() != 0) {
        const int err = errno;
        discard();
        return failure(err);
    }
    if (::renameat(dir_.get(), temp_.c_str(), dir_.get(), name_.c_str()) != 0) {
        const int err = errno;
        discard();
        return failure(err);
    }
    temp_.clear();
    // Make the rename itself durable; a failure here loses nothing.
    (void)::fsync(dir_.get());
    discard();
    return {};
}

IoResult writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    if (IoResult opened = writer.open(); !opened.ok())
        return opened;
    if (IoResult written = writer.write(bytes); !written.ok())
        return written;
    return writer.commit();
}

} // namespace tabulon
