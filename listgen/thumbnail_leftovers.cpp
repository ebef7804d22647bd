#include "listgen/thumbnail_leftovers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "base/name_parts.h"
#include "listgen/thumbnail_folder.h"
#include "listgen/thumbnails.h"
#include "posix/unique_fd.h"

namespace tabulon {

namespace {

// Whether `thumb`, in the open thumbnail folder `thumbs`, is a regular file
// named after a picture that is not in the open folder `pictures`. Anything
// that cannot be told for sure counts as no leftover.
bool isLeftover(int thumbs, int pictures, const char* thumb) {
    if (std::string_view(thumb).starts_with(".tabulon-"))
        return false; // a run's temporary, perhaps of one still going
    const std::optional<std::string_view> picture = pictureOfThumbnail(thumb);
    if (!picture)
        return false;
    struct stat st {};
    if (::fstatat(thumbs, thumb, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (isOlderThumbnail(thumb))
        return true;
    const std::string name(*picture);
    if (::fstatat(pictures, name.c_str(), &st, 0) == 0)
        return !S_ISREG(st.st_mode);
    return errno == ENOENT;
}

UniqueFd openFolder(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// The folder of the pictures, the one that holds the thumbnail folder: found
// from the folder itself, whatever its name looks like ("thumbs/", ".").
UniqueFd openPictureFolder(const UniqueFd& thumbs) {
    return UniqueFd(thumbs ? ::openat(thumbs.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1);
}

} // namespace

std::vector<std::string> goneThumbnails(const std::string& folder) {
    std::vector<std::string> gone;
    if (readFolderTag(folder) != FolderTag::Tabulon)
        return gone;
    UniqueFd thumbs = openFolder(folder);
    const UniqueFd pictures = openPictureFolder(thumbs);
    if (!pictures || !thumbs)
        return gone;
    DIR* dir = ::fdopendir(thumbs.get());
    if (dir == nullptr)
        return gone;
    const int fd = thumbs.release(); // closedir closes it
    while (const dirent* entry = ::readdir(dir)) {
        if (isLeftover(fd, pictures.get(), entry->d_name))
            gone.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(gone.begin(), gone.end());
    return gone;
}

std::vector<std::string> pruneThumbnails(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<std::string> failures;
    const UniqueFd thumbs = openFolder(folder);
    const UniqueFd pictures = openPictureFolder(thumbs);
    if (!pictures || !thumbs) {
        failures.push_back("cannot open " + folder + ": " + std::strerror(errno));
        return failures;
    }
    if (readFolderTag(thumbs.get(), ".") != FolderTag::Tabulon)
        return failures;
    for (const std::string& name : names) {
        if (isLeftover(thumbs.get(), pictures.get(), name.c_str()) &&
            ::unlinkat(thumbs.get(), name.c_str(), 0) != 0 && errno != ENOENT)
            failures.push_back("cannot delete " + folder + "/" + name + ": " + std::strerror(errno));
    }
    return failures;
}

} // namespace tabulon
