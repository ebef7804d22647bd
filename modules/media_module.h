#pragma once

// The interface of the media module, libtabulon-media.so: thumbnails through
// libvips and photo metadata through Exiv2 behind plain C functions, loaded
// with dlopen by the decoder, the worker process in which every picture is
// read. Only C types cross it: the module brings both libraries and the
// shared C++ runtime.
#include <stddef.h>

extern "C" {

// Starts Exiv2 and libvips (its untrusted loaders off, its operation cache
// off) and reads and writes a tiny picture of each format once, so that every
// library a picture may need is loaded before the decoder's sandbox closes
// the file system. 0 on success, else `error` (of `errorSize` bytes) holds
// the reason.
using TabulonMediaInit = int(char* error, size_t errorSize);
// A thumbnail of the picture read from the descriptor `source` (by offset:
// the descriptor's own position is neither used nor moved), its longer side
// at most `longSide` pixels (never enlarged), turned upright, in sRGB,
// without metadata but its colour profile, encoded in the format `format`
// names (.jpg, .png, .webp, .avif, .tif) into `*bytes` (`*size` bytes, freed
// with TabulonMediaFree). Refuses a picture of more than kMediaMaxPixels. A
// format without transparency (.jpg) lays the picture on white. 0 on success
// with the thumbnail's size in `width` and `height`; 1 likewise, but the
// picture is damaged or cut short and the thumbnail shows what could be
// read: `error` says what the decoder found, when that could be learnt (it
// may be empty); else -1 and `error` holds why the picture could not be read
// or decoded.
using TabulonMediaThumbnail = int(int source, const char* format, int longSide, int* width, int* height,
                                  void** bytes, size_t* size, char* error, size_t errorSize);
using TabulonMediaFree = void(void* bytes);
// The pixel size of the picture at `source` from its header. 0 on success.
using TabulonMediaSize = int(int source, int* width, int* height);
// The metadata of the picture at `source`, read once; null when there is
// none to read.
using TabulonMediaMetaOpen = void*(int source);
using TabulonMediaMetaClose = void(void* meta);
// One value of `meta`, as UTF-8 into `out` (room for `size` bytes, closing
// zero included). `what`: kMediaTaken (YYYY-MM-DD), kMediaCaption, or
// kMediaKey for the Exiv2 key `key` as Exiv2 prints it. Returns the bytes
// the value needs with its zero; 0 when absent. More than `size`: call
// again with more room.
using TabulonMediaMetaValue = size_t(void* meta, int what, const char* key, char* out, size_t size);

} // extern "C"

inline constexpr int kMediaTaken = 0;
inline constexpr int kMediaCaption = 1;
inline constexpr int kMediaKey = 2;
// Larger pictures are refused: more than any camera makes, far less than a
// decompression bomb would ask for.
inline constexpr long long kMediaMaxPixels = 200LL * 1000 * 1000;

inline constexpr const char* kMediaModule = "libtabulon-media.so";
inline constexpr const char* kMediaInit = "tabulon_media_init";
inline constexpr const char* kMediaThumbnail = "tabulon_media_thumbnail";
inline constexpr const char* kMediaFree = "tabulon_media_free";
inline constexpr const char* kMediaSize = "tabulon_media_size";
inline constexpr const char* kMediaMetaOpen = "tabulon_media_meta_open";
inline constexpr const char* kMediaMetaClose = "tabulon_media_meta_close";
inline constexpr const char* kMediaMetaValue = "tabulon_media_meta_value";
