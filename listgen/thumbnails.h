#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listgen/image_size.h"
#include "listgen/media.h"
#include "listgen/thumbnail_folder.h"

namespace tabulon {

// Where thumbnails go and in which format: `folder` is a plain folder name
// made beside each picture; `format` is same, jpg, png, webp or avif.
struct ThumbnailRules {
    std::string folder = "thumbs";
    std::string format = "same";
};

// One thumbnail of one picture, as the list names it.
struct Thumbnail {
    std::string name;              // empty when none could be made
    std::optional<ImageSize> size; // as displayed
    bool isPicture = false;        // an SVG stands for itself: its size is the picture's
    std::string warning; // why the picture could not be read or decoded, or is damaged; without its name
    std::string failure; // what stops the list: a thumbnail that cannot be written
};

// Whether `format` is one that --thumb-format takes.
bool isThumbnailFormat(std::string_view format);
// Whether `name` is a plain folder name: not empty, no separator, not . or ..
bool isPlainFolderName(std::string_view name);

// The name of the thumbnail of the picture `name` (without folder): the
// whole name, extension and all, then -longSide and the thumbnail's
// extension, as in badge.gif-240.png. Each picture of a folder has its own,
// the same from run to run.
std::string thumbnailName(std::string_view name, std::uint32_t longSide, std::string_view format);
// The picture name that `thumbnail` is named after, when it follows that
// rule (NAME-DIGITS and an extension thumbnails are written in).
std::optional<std::string_view> pictureOfThumbnail(std::string_view thumbnail);
// Whether `thumbnail` is in a format that only older runs wrote: none is
// made or reused under its name again.
bool isOlderThumbnail(std::string_view thumbnail);

// The thumbnail of `file` whose longer side is `longSide`, in FILE's folder's
// thumbnail folder. One there is reused when it carries the picture's
// modification time (each thumbnail is given it) and reads as a picture of at
// most that size; anything else is made again in a temporary file, synced,
// and renamed over the name, but only in a folder Tabulon made: in a user's
// own folder, what is there is never replaced. Safe from several threads at
// once.
Thumbnail makeThumbnail(const Media& media, std::string_view file, std::uint32_t longSide,
                        const ThumbnailRules& rules, ThumbnailFolders& folders);

} // namespace tabulon
