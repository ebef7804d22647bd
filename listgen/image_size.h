#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tabulon {

struct ImageSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const ImageSize&) const = default;
};

// The pixel size written in an image's header, without decoding the image:
// PNG, GIF, BMP, JPEG, WebP, and SVG whose root element gives plain numbers.
// nullopt for anything else, a damaged header included.
std::optional<ImageSize> ReadImageSize(std::string_view head);

// How much of a file's start ReadImageSize needs for almost every image, and
// how far a JPEG's frame header may lie behind large metadata segments.
inline constexpr std::size_t kImageHeadSize = 64 * 1024;
inline constexpr std::size_t kJpegHeadSize = 1024 * 1024;

} // namespace tabulon
