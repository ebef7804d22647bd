#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listgen/image_size.h"
#include "listgen/media.h"

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
    std::string warning;           // a picture that could not be read or decoded, or a damaged one
    std::string failure;           // what stops the list: a folder that cannot be made, a name taken
};

// Whether `format` is one that --thumb-format takes.
bool isThumbnailFormat(std::string_view format);
// Whether `name` is a plain folder name: not empty, no separator, not . or ..
bool isPlainFolderName(std::string_view name);

// The thumbnail of `file` whose longer side is `longSide`: FILE's folder,
// the thumbnail folder, BASE-longSide and the extension. Reused when one at
// that name is not older than the picture; else made in a temporary file in
// the thumbnail folder and renamed over the name, which only ever replaces a
// regular file older than the picture. Safe from several threads at once.
Thumbnail makeThumbnail(const Media& media, std::string_view file, std::uint32_t longSide,
                        const ThumbnailRules& rules);

} // namespace tabulon
