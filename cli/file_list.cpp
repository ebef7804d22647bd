#include "cli/file_list.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "base/name_parts.h"
#include "listgen/thumbnail_folder.h"

namespace tabulon::cli {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::optional<SortKey> parseSortKey(std::string_view text) {
    static const std::pair<std::string_view, SortKey> kKeys[] = {
        {"none", SortKey::None}, {"name", SortKey::Name}, {"natural", SortKey::Natural},
        {"date", SortKey::Date}, {"size", SortKey::Size}, {"taken", SortKey::Taken}};
    for (const auto& [name, value] : kKeys) {
        if (text == name)
            return value;
    }
    return std::nullopt;
}

bool needsNaturalOrder(const ListingRules& rules, const std::vector<std::string>& names) {
    if (rules.sort == SortKey::Natural)
        return true;
    return rules.sort == SortKey::None &&
           std::any_of(names.begin(), names.end(), [](const std::string& name) { return isFolder(name); });
}

FileList::FileList(ListingRules rules, NaturalCollation& natural, Emit emit)
    : rules_(rules), natural_(natural), emit_(std::move(emit)), countLeftOut_(rules_.types.takesPictures()) {}

IoResult FileList::add(std::string_view name) {
    std::string path(name);
    if (name.find('\0') == std::string_view::npos && isFolder(path)) {
        const FolderTag tag = readFolderTag(path);
        if (tag == FolderTag::None)
            return addFolder(path);
        if (tag == FolderTag::Tabulon)
            thumbnailFolders_.push_back(path);
        if (rules_.warn)
            rules_.warn("left out the folder " + path +
                        (tag == FolderTag::Tabulon ? ": it holds thumbnails that Tabulon made (CACHEDIR.TAG)"
                                                   : ": its CACHEDIR.TAG marks it as a cache"));
        return {};
    }
    take(path);
    return {};
}

void FileList::addFile(std::string_view name) {
    take(name);
}

IoResult FileList::addFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return IoError{folder, {errno, std::generic_category()}};
    const int fd = ::dirfd(dir);
    // Keyed for natural order when the list keeps the order found; a sorted
    // list is put in order later anyway.
    const bool inOrder = rules_.sort == SortKey::None;
    struct Found {
        std::string key;
        std::string path;
    };
    std::vector<Found> files;
    std::vector<Found> folders;
    // Anything that stops a listed file from being seen is an error: a short
    // list would look whole.
    int readError = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            readError = errno; // a folder that stops answering would silently shorten the list
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || (name.front() == '.' && !rules_.hidden))
            continue;
        // Looked at beside the folder, so that the cost does not grow with its depth.
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // gone meanwhile
            readError = errno;
            break;
        }
        // Links to folders are not followed down: they could lead in a circle.
        const bool link = S_ISLNK(st.st_mode);
        if (link && ::fstatat(fd, entry->d_name, &st, 0) != 0) {
            if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP)
                continue; // a link to nothing
            readError = errno;
            break;
        }
        const bool isFile = S_ISREG(st.st_mode);
        if (S_ISDIR(st.st_mode) && !link) {
            // Cache folders hold copies, not the user's files: a second run
            // would list the thumbnails the first one made.
            if (const FolderTag tag = readFolderTag(fd, entry->d_name); tag != FolderTag::None) {
                if (tag == FolderTag::Tabulon) {
                    thumbnailFolders_.emplace_back();
                    appendJoinedPath(thumbnailFolders_.back(), folder, name);
                }
                continue;
            }
        }
        if (!isFile && !(S_ISDIR(st.st_mode) && rules_.recursive && !link))
            continue;
        if (isFile && !rules_.types.takes(entry->d_name)) {
            if (countLeftOut_ && !rules_.types.excludes(entry->d_name))
                leftOut_.count(name);
            continue;
        }
        std::string path;
        appendJoinedPath(path, folder, name);
        if (path.size() >= PATH_MAX) {
            readError = ENAMETOOLONG; // no later step could open it by its name
            break;
        }
        Found found{{}, std::move(path)};
        if (inOrder)
            natural_.appendNameKey(name, found.key);
        (isFile ? files : folders).push_back(std::move(found));
    }
    ::closedir(dir);
    if (readError != 0)
        return IoError{folder, {readError, std::generic_category()}};
    if (inOrder) {
        const auto byKey = [](const Found& a, const Found& b) { return a.key < b.key; };
        std::sort(files.begin(), files.end(), byKey);
        std::sort(folders.begin(), folders.end(), byKey);
    }
    for (const Found& file : files)
        take(file.path);
    for (const Found& sub : folders) {
        if (IoResult added = addFolder(sub.path); !added.ok())
            return added;
    }
    return {};
}

void FileList::take(std::string_view path) {
    if (streams()) {
        emit_(path);
        return;
    }
    Entry entry;
    entry.path = path;
    if (rules_.sort == SortKey::Date || rules_.sort == SortKey::Size) {
        struct stat st {};
        if (::stat(entry.path.c_str(), &st) == 0) {
            entry.size = static_cast<std::uint64_t>(st.st_size);
            entry.mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        }
    }
    held_.push_back(std::move(entry));
}

// Entries sorted by another key that tie on it go in natural order, the
// collation module loaded only when there are any.
template <class Same> Result<void, std::string> FileList::breakTies(Same same) {
    for (auto first = held_.begin(); first != held_.end();) {
        const auto last =
            std::find_if(first + 1, held_.end(), [&](const Entry& e) { return !same(*first, e); });
        if (last - first > 1) {
            if (Result<void, std::string> loaded = natural_.load(); !loaded.ok())
                return loaded;
            for (auto entry = first; entry != last; ++entry)
                entry->key = natural_.pathKey(entry->path);
            std::sort(first, last, [](const Entry& a, const Entry& b) { return a.key < b.key; });
        }
        first = last;
    }
    return {};
}

Result<void, std::string> FileList::finish() {
    Result<void, std::string> sorted;
    switch (rules_.sort) {
    case SortKey::None:
        break;
    case SortKey::Name:
        std::stable_sort(held_.begin(), held_.end(),
                         [](const Entry& a, const Entry& b) { return a.path < b.path; });
        break;
    case SortKey::Natural:
        for (Entry& entry : held_)
            entry.key = natural_.pathKey(entry.path);
        std::sort(held_.begin(), held_.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
        break;
    case SortKey::Date:
        std::sort(held_.begin(), held_.end(),
                  [](const Entry& a, const Entry& b) { return a.mtime < b.mtime; });
        sorted = breakTies([](const Entry& a, const Entry& b) { return a.mtime == b.mtime; });
        break;
    case SortKey::Taken:
        for (Entry& entry : held_)
            entry.taken = rules_.taken(entry.path);
        std::sort(held_.begin(), held_.end(),
                  [](const Entry& a, const Entry& b) { return a.taken < b.taken; });
        sorted = breakTies([](const Entry& a, const Entry& b) { return a.taken == b.taken; });
        break;
    case SortKey::Size:
        std::sort(held_.begin(), held_.end(), [](const Entry& a, const Entry& b) { return a.size < b.size; });
        sorted = breakTies([](const Entry& a, const Entry& b) { return a.size == b.size; });
        break;
    }
    if (!sorted.ok()) {
        held_.clear();
        return sorted;
    }
    if (rules_.reverse)
        std::reverse(held_.begin(), held_.end());
    for (const Entry& entry : held_)
        emit_(entry.path);
    held_.clear();
    return {};
}

} // namespace tabulon::cli
