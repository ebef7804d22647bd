#pragma once

#include <memory>
#include <string>

#include <vips/vips.h>

#include "support/tiny_pictures.h"

namespace tabulon::test {

// Starts libvips for the tests that make pictures; once per program.
inline bool startVips() {
    static const bool started = VIPS_INIT("tabulon-tests") == 0;
    return started;
}

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

// A black picture of `width` x `height`; null if libvips cannot make it.
inline Image blackPicture(int width, int height, int bands = 3) {
    VipsImage* image = nullptr;
    return Image(startVips() && vips_black(&image, width, height, "bands", bands, nullptr) == 0 ? image
                                                                                                : nullptr);
}

inline Image openPicture(const std::string& path) {
    return Image(vips_image_new_from_file(path.c_str(), nullptr));
}

// A grey picture of `width` x `height` at `path`, its format from the
// name's extension. Returns whether it was written.
inline bool makePicture(const std::string& path, int width, int height) {
    const Image image = blackPicture(width, height);
    return image && vips_image_write_to_file(image.get(), path.c_str(), nullptr) == 0;
}

} // namespace tabulon::test
