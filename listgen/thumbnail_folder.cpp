#include "listgen/thumbnail_folder.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix/unique_fd.h"

namespace tabulon {

namespace {

constexpr std::string_view kSignature = "Signature: 8a477f597d28d172789f06886806bc55";
constexpr std::string_view kTag = "Signature: 8a477f597d28d172789f06886806bc55\n"
                                  "# Thumbnails made by Tabulon, which makes them again when needed.\n";
// What tells Tabulon's own tag from another program's.
constexpr std::string_view kTabulonMark = "# Thumbnails made by Tabulon";

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Written under a temporary name and renamed, so that a run killed on the way
// never leaves half a tag.
Result<void, std::string> writeTag(const std::string& folder) {
    static std::atomic<unsigned> count{0};
    const std::string temp =
        folder + "/.tabulon-" + std::to_string(::getpid()) + "-tag" + std::to_string(count.fetch_add(1));
    const std::string tag = folder + "/" + std::string(kCacheTagName);
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    bool done = fd && writeAll(fd.get(), kTag) && ::fsync(fd.get()) == 0;
    int error = errno;
    if (fd && fd.close() != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && ::rename(temp.c_str(), tag.c_str()) != 0) {
        done = false;
        error = errno;
    }
    if (!done) {
        ::unlink(temp.c_str());
        return "cannot write " + tag + ": " + std::strerror(error);
    }
    return {};
}

} // namespace

FolderTag readFolderTag(int at, const std::string& name) {
    const std::string tag = name + "/" + std::string(kCacheTagName);
    // A tag is a small regular file; anything else under its name is no tag.
    UniqueFd fd(::openat(at, tag.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return FolderTag::None;
    char head[256];
    std::size_t size = 0;
    while (size < sizeof head) {
        const ssize_t n = ::read(fd.get(), head + size, sizeof head - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    const std::string_view text(head, size);
    if (!text.starts_with(kSignature))
        return FolderTag::None;
    return text.find(kTabulonMark) != std::string_view::npos ? FolderTag::Tabulon : FolderTag::Foreign;
}

FolderTag readFolderTag(const std::string& folder) {
    return readFolderTag(AT_FDCWD, folder);
}

Result<FolderTag, std::string> makeThumbnailFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) {
        if (const Result<void, std::string> tagged = writeTag(folder); !tagged.ok())
            return tagged.error();
        return FolderTag::Tabulon;
    }
    const int error = errno;
    struct stat st {};
    if (error != EEXIST)
        return "cannot make the thumbnail folder " + folder + ": " + std::strerror(error);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "cannot make the thumbnail folder " + folder + ": " + std::strerror(ENOTDIR);
    return readFolderTag(folder);
}

Result<FolderTag, std::string> ThumbnailFolders::prepare(const std::string& folder) {
    // Held while the folder is made and tagged: no other thread takes it for
    // an untagged one in between.
    const std::lock_guard<std::mutex> hold(lock_);
    if (const auto found = seen_.find(folder); found != seen_.end())
        return found->second;
    Result<FolderTag, std::string> made = makeThumbnailFolder(folder);
    seen_.emplace(folder, made);
    order_.push_back(folder);
    return made;
}

std::vector<std::string> ThumbnailFolders::tabulonFolders() const {
    const std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> ours;
    for (const std::string& folder : order_) {
        const Result<FolderTag, std::string>& tag = seen_.at(folder);
        if (tag.ok() && tag.value() == FolderTag::Tabulon)
            ours.push_back(folder);
    }
    return ours;
}

} // namespace tabulon
