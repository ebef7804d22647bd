#include "listgen/thumbnail_folder.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/name_parts.h"
#include "listgen/thumbnails.h"
#include "posix/stale_temporaries.h"
#include "posix/unique_fd.h"
#include "posix/write_all.h"

namespace tabulon {

namespace {

constexpr std::string_view kSignature = "Signature: 8a477f597d28d172789f06886806bc55";
constexpr std::string_view kTag = "Signature: 8a477f597d28d172789f06886806bc55\n"
                                  "# Thumbnails made by Tabulon, which makes them again when needed.\n";
// What tells Tabulon's own tag from another program's.
constexpr std::string_view kTabulonMark = "# Thumbnails made by Tabulon";

// Calls `take` with each name in `folder` but . and .. while it returns
// true; false when the folder cannot be read or `take` said no.
template <class Take> bool forEachName(const std::string& folder, Take take) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    bool all = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && !take(entry->d_name)) {
            all = false;
            break;
        }
    }
    ::closedir(dir);
    return all;
}

// Written under a temporary name and renamed, so that a run killed on the way
// never leaves half a tag.
Result<void, std::string> writeTag(const std::string& folder) {
    static std::atomic<unsigned> count{0};
    const std::string temp =
        folder + "/.tabulon-" + std::to_string(::getpid()) + "-tag" + std::to_string(count.fetch_add(1));
    const std::string tag = folder + "/" + std::string(kCacheTagName);
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    int error = fd ? writeAll(fd.get(), kTag) : errno;
    if (error == 0 && ::fsync(fd.get()) != 0)
        error = errno;
    bool done = error == 0;
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

namespace {

// Whether the untagged folder `folder` holds nothing but thumbnails by name
// of pictures beside it (an earlier version's, or a run killed before it
// tagged the folder) and temporaries: such a folder is Tabulon's to tag.
bool holdsOnlyThumbnails(const std::string& folder) {
    std::set<std::string> pictures;
    std::set<std::string, std::less<>> bases; // an earlier version named thumbnails after BASE
    const std::string_view parent = GetFilePath(folder);
    if (!forEachName(parent.empty() ? std::string(".") : std::string(parent), [&](const char* name) {
            pictures.emplace(name);
            bases.emplace(GetFileBase(name));
            return true;
        }))
        return false;
    return forEachName(folder, [&](const char* name) {
        if (std::string_view(name).starts_with(".tabulon-"))
            return true;
        const std::optional<std::string_view> picture = pictureOfThumbnail(name);
        return picture && (pictures.count(std::string(*picture)) > 0 || bases.count(*picture) > 0);
    });
}

} // namespace

Result<FolderTag, std::string> makeThumbnailFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) {
        if (const Result<void, std::string> tagged = writeTag(folder); !tagged.ok()) {
            ::rmdir(folder.c_str()); // an untagged folder would pass for the user's next time
            return tagged.error();
        }
        return FolderTag::Tabulon;
    }
    const int error = errno;
    struct stat st {};
    if (error != EEXIST)
        return "cannot make the thumbnail folder " + folder + ": " + std::strerror(error);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "cannot make the thumbnail folder " + folder + ": " + std::strerror(ENOTDIR);
    const FolderTag tag = readFolderTag(folder);
    if (tag == FolderTag::None && holdsOnlyThumbnails(folder)) {
        if (const Result<void, std::string> tagged = writeTag(folder); !tagged.ok())
            return tagged.error();
        return FolderTag::Tabulon;
    }
    return tag;
}

Result<FolderTag, std::string> ThumbnailFolders::prepare(const std::string& folder) {
    // Held while the folder is made and tagged: no other thread takes it for
    // an untagged one in between.
    const std::lock_guard<std::mutex> hold(lock_);
    for (const auto& [known, tag] : seen_) {
        if (known == folder)
            return tag;
    }
    Result<FolderTag, std::string> made = makeThumbnailFolder(folder);
    if (made.ok() && made.value() == FolderTag::Tabulon) {
        // Temporaries of runs killed while making thumbnails here.
        if (const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir)
            removeStaleTemporaries(dir.get(), ".tabulon-", TemporaryTail::Numbered);
    }
    seen_.emplace_back(folder, made);
    return made;
}

std::vector<std::string> ThumbnailFolders::tabulonFolders() const {
    const std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> ours;
    for (const auto& [folder, tag] : seen_) {
        if (tag.ok() && tag.value() == FolderTag::Tabulon)
            ours.push_back(folder);
    }
    return ours;
}

} // namespace tabulon
