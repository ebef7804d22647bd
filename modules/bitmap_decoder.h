#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// A picture decoded to 8-bit samples, rows top to bottom: RGB, or RGBA
// (not premultiplied) when any of it is transparent.
struct DecodedBitmap {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bands = 0;
    std::vector<std::uint8_t> pixels;
    // An icon whose chosen image is a PNG: its bytes, for a PNG decoder.
    std::string_view png;
    // Why the file could not be decoded; empty on success.
    std::string error;
};

// Whether `file` starts like a BMP, or like an ICO or CUR icon.
bool isBmp(std::string_view file);
bool isIcon(std::string_view file);

// Decodes a BMP (core, info, V4 and V5 headers; 1, 4 and 8-bit palettes,
// 16, 24 and 32-bit pixels, bit fields, RLE8 and RLE4, either row order), or
// the largest image of an icon (a bitmap with its AND mask as transparency,
// or a PNG handed back undecoded). Every size and offset is checked against
// the file; a picture of more than `maxPixels` or a file cut short is
// refused with the reason in `error`.
DecodedBitmap decodeBitmap(std::string_view file, std::uint64_t maxPixels);

} // namespace tabulon
