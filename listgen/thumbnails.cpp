#include "listgen/thumbnails.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "base/file_content.h"
#include "base/name_parts.h"

namespace tabulon {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The extension of the thumbnail: the picture's own where libvips writes
// that format, else PNG, which keeps any picture as it is (GIF, BMP, ICO).
std::string thumbnailExtension(std::string_view ext, std::string_view format) {
    if (format != "same")
        return "." + std::string(format);
    const std::string known = lower(ext);
    for (const char* writable : {".jpg", ".jpeg", ".png", ".webp", ".avif", ".tif", ".tiff"}) {
        if (known == writable)
            return std::string(ext);
    }
    return ".png";
}

bool olderThan(const struct stat& a, const struct stat& b) {
    return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec < b.st_mtim.tv_sec
                                                : a.st_mtim.tv_nsec < b.st_mtim.tv_nsec;
}

std::string reason(int error) {
    return std::strerror(error);
}

// The size of a thumbnail already there: from its header, else (AVIF) from libvips.
std::optional<ImageSize> existingSize(const Media& media, const std::string& path) {
    FileReader reader;
    if (reader.readHead(path, kImageHeadSize).ok()) {
        if (const std::optional<ImageSize> size = readImageSize(reader.data()))
            return size;
    }
    return media.decodedSize(path);
}

std::atomic<unsigned> tempCount{0};

} // namespace

bool isThumbnailFormat(std::string_view format) {
    for (const char* known : {"same", "jpg", "png", "webp", "avif"}) {
        if (format == known)
            return true;
    }
    return false;
}

bool isPlainFolderName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

Thumbnail makeThumbnail(const Media& media, std::string_view file, std::uint32_t longSide,
                        const ThumbnailRules& rules) {
    Thumbnail thumb;
    const std::string_view ext = GetFileExt(file);
    if (lower(ext) == ".svg") { // drawn at any size by the browser
        thumb.name = std::string(file);
        thumb.isPicture = true;
        return thumb;
    }
    const std::string source(file);
    struct stat picture {};
    if (source.find('\0') != std::string::npos || ::stat(source.c_str(), &picture) != 0) {
        thumb.warning =
            "cannot read " + source + ": " + reason(source.find('\0') != std::string::npos ? EINVAL : errno);
        return thumb;
    }
    if (!S_ISREG(picture.st_mode)) {
        thumb.warning = "cannot make a thumbnail of " + source + ": not a regular file";
        return thumb;
    }

    std::string folder(GetFilePath(file));
    folder += rules.folder;
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        thumb.failure = "cannot make the thumbnail folder " + folder + ": " + reason(errno);
        return thumb;
    }
    struct stat st {};
    const bool isFolder = ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!isFolder) {
        thumb.failure = "cannot make the thumbnail folder " + folder + ": " + reason(ENOTDIR);
        return thumb;
    }
    const std::string extension = thumbnailExtension(ext, rules.format);
    std::string name = folder + "/";
    name += GetFileBase(file);
    name += "-" + std::to_string(longSide) + extension;

    if (::lstat(name.c_str(), &st) == 0) {
        // Only a regular file can be one that Tabulon made; anything else
        // there belongs to someone else.
        if (!S_ISREG(st.st_mode)) {
            thumb.failure =
                name + " is in the way of a thumbnail and is not replaced: it is not a regular file";
            return thumb;
        }
        if (!olderThan(st, picture)) {
            thumb.size = existingSize(media, name);
            thumb.name = std::move(name);
            return thumb;
        }
    } else if (errno != ENOENT) {
        thumb.failure = "cannot look at " + name + ": " + reason(errno);
        return thumb;
    }

    if (const Result<void, std::string> loaded = media.load(); !loaded.ok()) {
        thumb.failure = std::string(kMediaMissing) + loaded.error();
        return thumb;
    }
    const std::string temp = folder + "/.tabulon-" + std::to_string(::getpid()) + "-" +
                             std::to_string(tempCount.fetch_add(1)) + extension;
    const Result<Media::Made, std::string> made = media.makeThumbnail(source, temp, longSide);
    if (!made.ok()) {
        thumb.warning = "cannot make a thumbnail of " + source + ": " + made.error();
        return thumb;
    }
    // rename replaces a name, never follows it: nothing outside the folder is touched.
    if (::rename(temp.c_str(), name.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        thumb.failure = "cannot write " + name + ": " + reason(error);
        return thumb;
    }
    if (!made.value().damage.empty())
        thumb.warning = source + " is damaged or cut short, its thumbnail shows what could be read: " +
                        made.value().damage;
    thumb.size = made.value().size;
    thumb.name = std::move(name);
    return thumb;
}

} // namespace tabulon
