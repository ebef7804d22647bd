#pragma once

// What the two halves of the media module share: libvips's start and its
// error text, its objects' owners, and handing a reason back through the C
// interface. Inside libtabulon-media.so only; the engine never includes it.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include <vips/vips.h>

namespace tabulon::media {

// `what` into the caller's `error` of `errorSize` bytes, cut to fit.
// Allocates nothing, so that it also serves when memory has run out.
inline void putError(char* error, size_t errorSize, std::string_view what) {
    if (error != nullptr && errorSize > 0) {
        const size_t n = std::min(what.size(), errorSize - 1);
        std::memcpy(error, what.data(), n);
        error[n] = '\0';
    }
}

// libvips is started with the first picture it reads, not for lists that
// only read metadata (but for a HEIF picture's): starting it loads its own
// modules too.
bool startVips(char* error, size_t errorSize);

// The line of libvips's error text about the picture `source`, else one that
// names no file; taken out of the text, so that it is reported once.
std::string vipsReason(std::string_view source = {});

// Everything a picture may need loaded before the sandbox closes the file
// system: libvips started, and a tiny picture of each format written and
// read again (libvips loads some libraries and their parts on first use).
// False with `error` set when libvips cannot start.
bool warmUp(char* error, size_t errorSize);

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
using Image = std::unique_ptr<VipsImage, Unref>;
// Pictures are opened as sources: a name is only a name, never read for
// libvips's "[option]" suffixes.
using Source = std::unique_ptr<VipsSource, Unref>;

// The picture at descriptor `fd` as a libvips source, read by offset: each
// source has its own place in the file, and the descriptor's is never moved.
Source descriptorSource(int fd);

} // namespace tabulon::media
