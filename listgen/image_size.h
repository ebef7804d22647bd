#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

struct ImageSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const ImageSize&) const = default;
};

// Up to `size` bytes from `offset` on of the file whose start was read:
// fewer at its end, none when it cannot be read.
using ImageBytesAt = std::function<std::string(std::uint64_t offset, std::size_t size)>;

// The pixel size of an image as it is displayed, from its header without
// decoding the image: PNG, GIF, BMP, JPEG, WebP, ICO and CUR (the largest
// image), TIFF (the first directory's), AVIF and HEIF (the primary item's,
// turned by its rotation), and SVG whose root element gives plain numbers.
// An EXIF orientation that turns the picture a quarter (5 to 8) swaps width
// and height; it is read from a JPEG's Exif segment, a PNG's eXIf chunk
// before the image data, an extended WebP's EXIF chunk and a TIFF's
// directory. What lies behind `head` (a WebP's EXIF chunk, a TIFF's
// directory, an icon's images, a HEIF's meta box after its image data) is
// fetched through `more`. nullopt for anything else, a damaged header
// included.
std::optional<ImageSize> readImageSize(std::string_view head, const ImageBytesAt& more = {});

// How much of a file's start ReadImageSize needs for almost every image, and
// how far a JPEG's frame header may lie behind large metadata segments.
inline constexpr std::size_t kImageHeadSize = 64 * 1024;
inline constexpr std::size_t kJpegHeadSize = 1024 * 1024;

} // namespace tabulon
