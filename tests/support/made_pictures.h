#pragma once

#include <cstdint>
#include <string>

#include <vips/vips.h>

namespace tabulon::test {

// Starts libvips for the tests that make pictures; once per program.
inline bool startVips() {
    static const bool started = VIPS_INIT("tabulon-tests") == 0;
    return started;
}

// A grey picture of `width` x `height` at `path`, its format from the
// name's extension. Returns whether it was written.
inline bool makePicture(const std::string& path, int width, int height) {
    if (!startVips())
        return false;
    VipsImage* image = nullptr;
    if (vips_black(&image, width, height, "bands", 3, nullptr) != 0)
        return false;
    const bool written = vips_image_write_to_file(image, path.c_str(), nullptr) == 0;
    g_object_unref(image);
    return written;
}

// `v` as `count` little-endian bytes, as BMP and icon headers hold numbers.
inline std::string le(std::uint32_t v, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>(v >> (8 * i)));
    return bytes;
}

} // namespace tabulon::test
