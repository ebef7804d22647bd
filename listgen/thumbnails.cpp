#include "listgen/thumbnails.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <span>

#include <fcntl.h>
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

// Thumbnails are written in these formats only, which browsers show.
constexpr const char* kWrittenExtensions[] = {".jpg", ".jpeg", ".png", ".webp", ".avif"};
// Older runs also wrote a TIFF picture's thumbnail as TIFF.
constexpr const char* kOlderExtensions[] = {".tif", ".tiff"};
// Photos that browsers do not show (a scanner's TIFF, a phone's HEIF).
constexpr const char* kPhotoExtensions[] = {".tif", ".tiff", ".heic", ".heif", ".hif"};

bool isOneOf(const std::string& lowerExt, std::span<const char* const> exts) {
    return std::any_of(exts.begin(), exts.end(), [&lowerExt](const char* e) { return lowerExt == e; });
}

// The extension of the thumbnail: the picture's own where browsers show that
// format, JPEG for a photo they do not show (a PNG of a photo weighs several
// times as much), else PNG, which keeps any picture as it is (GIF, BMP, ICO).
std::string thumbnailExtension(std::string_view ext, std::string_view format) {
    if (format != "same")
        return "." + std::string(format);
    const std::string known = lower(ext);
    if (isOneOf(known, kWrittenExtensions))
        return std::string(ext);
    return isOneOf(known, kPhotoExtensions) ? ".jpg" : ".png";
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
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

std::string thumbnailName(std::string_view name, std::uint32_t longSide, std::string_view format) {
    std::string thumb(name);
    thumb += "-" + std::to_string(longSide);
    thumb += thumbnailExtension(GetFileExt(name), format);
    return thumb;
}

std::optional<std::string_view> pictureOfThumbnail(std::string_view thumbnail) {
    const std::string_view ext = GetFileExt(thumbnail);
    const std::string known = lower(ext);
    if (!isOneOf(known, kWrittenExtensions) && !isOneOf(known, kOlderExtensions))
        return std::nullopt;
    std::string_view rest = thumbnail.substr(0, thumbnail.size() - ext.size());
    const std::size_t dash = rest.rfind('-');
    const std::string_view digits =
        dash == std::string_view::npos ? std::string_view() : rest.substr(dash + 1);
    if (dash == 0 || digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return rest.substr(0, dash);
}

bool isOlderThumbnail(std::string_view thumbnail) {
    return isOneOf(lower(GetFileExt(thumbnail)), kOlderExtensions);
}

Thumbnail makeThumbnail(const Media& media, std::string_view file, std::uint32_t longSide,
                        const ThumbnailRules& rules, ThumbnailFolders& folders) {
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
            "cannot make a thumbnail: " + reason(source.find('\0') != std::string::npos ? EINVAL : errno);
        return thumb;
    }
    if (!S_ISREG(picture.st_mode)) {
        thumb.warning = "cannot make a thumbnail: not a regular file";
        return thumb;
    }

    std::string folder(GetFilePath(file));
    folder += rules.folder;
    const std::string_view pictureName = file.substr(GetFilePath(file).size());
    const std::string thumbName = thumbnailName(pictureName, longSide, rules.format);
    if (thumbName.size() > NAME_MAX) {
        thumb.warning = "cannot make a thumbnail: its name would be longer than a file name may be";
        return thumb;
    }
    const Result<FolderTag, std::string> tag = folders.prepare(folder);
    if (!tag.ok()) {
        thumb.failure = tag.error();
        return thumb;
    }
    // Thumbnails among a user's own files would be listed as pictures by the
    // next folder walk, and could replace one of them.
    if (tag.value() != FolderTag::Tabulon) {
        thumb.failure = folder +
                        (tag.value() == FolderTag::Foreign ? " is another program's cache folder"
                                                           : " holds files Tabulon did not make") +
                        ": thumbnails are made only in a folder of their own; rename it, or name another "
                        "thumbnail folder";
        return thumb;
    }
    std::string name = folder + "/" + thumbName;

    struct stat st {};
    if (::lstat(name.c_str(), &st) == 0) {
        // Only a regular file can be one that Tabulon made; anything else
        // there belongs to someone else.
        if (!S_ISREG(st.st_mode)) {
            thumb.failure =
                name + " is in the way of a thumbnail and is not replaced: it is not a regular file";
            return thumb;
        }
        // Made from this very picture: each thumbnail carries its picture's time.
        if (sameTime(st.st_mtim, picture.st_mtim)) {
            const std::optional<ImageSize> size = existingSize(media, name);
            if (size && size->width > 0 && size->height > 0 &&
                std::max(size->width, size->height) <= longSide) {
                thumb.size = size;
                thumb.name = std::move(name);
                return thumb;
            }
        }
    } else if (errno != ENOENT) {
        thumb.failure = "cannot look at " + name + ": " + reason(errno);
        return thumb;
    }

    if (const Result<void, std::string> loaded = media.load(); !loaded.ok()) {
        thumb.failure = mediaUnavailable(media, loaded.error());
        return thumb;
    }
    const std::string temp = folder + "/.tabulon-" + std::to_string(::getpid()) + "-" +
                             std::to_string(tempCount.fetch_add(1)) + thumbnailExtension(ext, rules.format);
    // A temporary of this name can only be left by a run gone before under the same process number.
    ::unlink(temp.c_str());
    const Result<Media::Made, Media::ThumbnailError> made = media.makeThumbnail(source, temp, longSide);
    if (!made.ok()) {
        if (made.error().cannotWrite) {
            // The module names the temporary; the user knows the thumbnail.
            std::string why = made.error().reason;
            if (why.starts_with(temp + ": "))
                why.erase(0, temp.size() + 2);
            thumb.failure = "cannot write " + name + ": " + why;
        } else if (made.error().unsafe) {
            thumb.warning = made.error().reason;
        } else {
            thumb.warning = "cannot make a thumbnail: " + made.error().reason;
        }
        return thumb;
    }
    // The picture's time marks what the thumbnail was made from; set before
    // the rename, so that a thumbnail is never seen without it.
    const timespec times[2] = {{0, UTIME_OMIT}, picture.st_mtim};
    // rename replaces a name, never follows it: nothing outside the folder is touched.
    if (::utimensat(AT_FDCWD, temp.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::rename(temp.c_str(), name.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        thumb.failure = "cannot write " + name + ": " + reason(error);
        return thumb;
    }
    if (made.value().damaged) {
        thumb.warning = "damaged or cut short, its thumbnail shows what could be read";
        if (!made.value().damage.empty())
            thumb.warning += ": " + made.value().damage;
    }
    thumb.size = made.value().size;
    thumb.name = std::move(name);
    return thumb;
}

} // namespace tabulon
