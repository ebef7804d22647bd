// The thumbnail half of libtabulon-media.so: libvips's thumbnailer, and our
// own decoder for BMP and icons, behind the thumbnail and size functions of
// media_module.h. No C++ exception and no GLib type leaves it.
#include "modules/media_module.h"
#include "modules/media_shared.h"

#include "modules/bitmap_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vips/vips.h>

namespace tabulon::media {
namespace {

// Whether a line of libvips's error text names a file: it starts with that
// file's name, or quotes it. Domains ("VipsJpeg") name no file.
std::string_view fileNamedIn(std::string_view line) {
    const auto isFile = [](std::string_view name) {
        return name.find_first_of("/.") != std::string_view::npos;
    };
    if (const size_t colon = line.find(": ");
        colon != std::string_view::npos && isFile(line.substr(0, colon)))
        return line.substr(0, colon);
    const size_t open = line.find('"');
    const size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
    if (close != std::string_view::npos && isFile(line.substr(open + 1, close - open - 1)))
        return line.substr(open + 1, close - open - 1);
    return {};
}

// libvips keeps one error buffer for all threads, and a picture read on one
// thread may leave lines there even when it succeeds. Its lines are moved
// here, where each failing call takes the first line about its own picture,
// else a line that names no file from what came in since the last call
// (most likely its own), and leaves the others to theirs.
std::mutex reasonLock;
std::deque<std::string> reasons;

void silence(const char*, GLogLevelFlags, const char*, gpointer) {}

} // namespace

// Empty when the line is gone: libvips also clears the buffer itself, from
// any thread, so with several pictures at once a reason can be lost.
std::string vipsReason(std::string_view source) {
    const std::lock_guard<std::mutex> hold(reasonLock);
    char* all = vips_error_buffer_copy();
    vips_error_clear();
    const std::string text = all != nullptr ? all : "";
    g_free(all);
    const size_t older = reasons.size();
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        if (end > at)
            reasons.emplace_back(text, at, end - at);
        at = end + 1;
    }
    auto mine = std::find_if(reasons.begin(), reasons.end(),
                             [&](const std::string& line) { return fileNamedIn(line) == source; });
    if (mine == reasons.end() || source.empty())
        mine = std::find_if(reasons.begin() + static_cast<std::ptrdiff_t>(older), reasons.end(),
                            [](const std::string& line) { return fileNamedIn(line).empty(); });
    if (mine == reasons.end()) {
        while (reasons.size() > 64) // left by pictures that succeeded
            reasons.pop_front();
        return {};
    }
    std::string reason = std::move(*mine);
    reasons.erase(mine);
    while (reasons.size() > 64)
        reasons.pop_front();
    return reason;
}

bool startVips(char* error, size_t errorSize) {
    static std::once_flag once;
    static std::string reason;
    std::call_once(once, [] {
        if (VIPS_INIT("tabulon") != 0) {
            reason = "cannot start libvips: " + vipsReason();
            return;
        }
        vips_block_untrusted_set(TRUE);
        // A changed picture under the same name must be read again; and
        // pictures are made on several threads of our own, one each.
        vips_cache_set_max(0);
        vips_concurrency_set(1);
        // Its warnings (a damaged picture) are reported by the caller, once.
        g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
                          silence, nullptr);
    });
    if (!reason.empty())
        putError(error, errorSize, reason);
    return reason.empty();
}

namespace {

// Where a descriptor source reads next.
struct ReadPlace {
    int fd;
    gint64 offset = 0;
};

gint64 readAt(VipsSourceCustom*, void* buffer, gint64 length, gpointer data) {
    auto* place = static_cast<ReadPlace*>(data);
    for (;;) {
        const ssize_t got = ::pread(place->fd, buffer, static_cast<size_t>(length), place->offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got > 0)
            place->offset += got;
        return got;
    }
}

gint64 seekTo(VipsSourceCustom*, gint64 offset, int whence, gpointer data) {
    auto* place = static_cast<ReadPlace*>(data);
    gint64 from = 0;
    if (whence == SEEK_CUR) {
        from = place->offset;
    } else if (whence == SEEK_END) {
        struct stat st {};
        if (::fstat(place->fd, &st) != 0)
            return -1;
        from = st.st_size;
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if (offset < -from)
        return -1;
    place->offset = from + offset;
    return place->offset;
}

void dropPlace(gpointer data, GClosure*) {
    delete static_cast<ReadPlace*>(data);
}

} // namespace

Source descriptorSource(int fd) {
    VipsSourceCustom* custom = vips_source_custom_new();
    if (custom == nullptr)
        return nullptr;
    // Owned by the read handler, dropped with the source.
    auto* place = new ReadPlace{fd};
    g_signal_connect_data(custom, "read", G_CALLBACK(readAt), place, dropPlace, GConnectFlags(0));
    g_signal_connect(custom, "seek", G_CALLBACK(seekTo), place);
    return Source(VIPS_SOURCE(custom));
}

bool warmUp(char* error, size_t errorSize) {
    if (!startVips(error, errorSize))
        return false;
    VipsImage* black = nullptr;
    if (vips_black(&black, 8, 8, "bands", 3, nullptr) != 0) {
        putError(error, errorSize, "cannot start libvips: " + vipsReason());
        return false;
    }
    const Image picture(black);
    for (const char* format : {".jpg", ".png", ".webp", ".avif", ".tif", ".gif"}) {
        void* bytes = nullptr;
        size_t size = 0;
        if (vips_image_write_to_buffer(picture.get(), format, &bytes, &size, nullptr) != 0)
            continue; // a format this libvips cannot write is not read either
        const std::unique_ptr<void, decltype(&g_free)> owned(bytes, g_free);
        VipsImage* thumb = nullptr;
        if (vips_thumbnail_buffer(bytes, size, &thumb, 4, "export_profile", "srgb", nullptr) == 0)
            (void)Image(vips_image_copy_memory(Image(thumb).get()));
    }
    (void)vipsReason(); // the formats missing here are reported by the pictures that need them
    return true;
}

namespace {

std::string failureReason() {
    std::string reason = vipsReason();
    return reason.empty() ? "cannot be decoded" : reason;
}

// A thumbnail keeps its colour profile and nothing else of the picture's
// metadata: no place, no camera, no orientation that would turn it twice.
void stripAllButProfile(VipsImage* image) {
    gchar** fields = vips_image_get_fields(image);
    for (gchar** field = fields; *field != nullptr; ++field) {
        if (std::strcmp(*field, VIPS_META_ICC_NAME) != 0)
            (void)vips_image_remove(image, *field); // the built-in fields are not removed, as meant
    }
    g_strfreev(fields);
}

// A format without transparency would show a transparent picture's hidden
// colour, mostly black: such a thumbnail is laid on white instead.
Image onWhite(Image image) {
    if (!image || !vips_image_hasalpha(image.get()))
        return image;
    const VipsInterpretation type = vips_image_get_interpretation(image.get());
    const double white =
        type == VIPS_INTERPRETATION_RGB16 || type == VIPS_INTERPRETATION_GREY16 ? 65535 : 255;
    VipsArrayDouble* background = vips_array_double_newv(1, white);
    VipsImage* flat = nullptr;
    const int failed =
        vips_flatten(image.get(), &flat, "background", background, "max_alpha", white, nullptr);
    vips_area_unref(VIPS_AREA(background));
    return Image(failed == 0 ? flat : nullptr);
}

// The thumbnail laid on white where its format needs it, and decoded into
// memory: a picture that the decoder finds damaged fails here, not while it
// is written.
Image finished(VipsImage* made, bool opaque) {
    Image thumb(made);
    if (opaque)
        thumb = onWhite(std::move(thumb));
    if (!thumb)
        return nullptr;
    // A copy of its own: its fields are changed before it is written.
    Image memory(vips_image_copy_memory(thumb.get()));
    VipsImage* copied = nullptr;
    if (!memory || vips_copy(memory.get(), &copied, nullptr) != 0)
        return nullptr;
    return Image(copied);
}

// The picture at `source` opened by libvips, or `memory` when that holds it
// (an icon's PNG).
Source opened(int source, std::string_view memory) {
    return memory.empty() ? descriptorSource(source)
                          : Source(vips_source_new_from_memory(memory.data(), memory.size()));
}

// The thumbnail of a picture that libvips decodes, strictly (any warning of
// its decoder fails) or leniently.
Image decodedThumbnail(int source, std::string_view memory, int longSide, bool profiled, bool opaque,
                       bool strict) {
    Source file = opened(source, memory);
    if (!file)
        return nullptr;
    // The thumbnailer's own fail_on does not reach the loader of a source;
    // its options do.
    const char* loader = strict ? "fail_on=warning" : "fail_on=none";
    VipsImage* made = nullptr;
    if (vips_thumbnail_source(file.get(), &made, longSide, "height", longSide, "size", VIPS_SIZE_DOWN,
                              "option_string", loader, profiled ? "export_profile" : nullptr, "srgb",
                              nullptr) != 0)
        return nullptr;
    return finished(made, opaque);
}

// BMP, ICO and CUR, which libvips reads only through ImageMagick, one of the
// untrusted loaders that stay blocked: the whole file when `source` starts
// like one of them (by its bytes, not its name), else empty. False when it
// cannot be read, with `error` set.
bool readBitmapFile(int source, std::string& bytes, std::string& error) {
    constexpr size_t kLargest = 1ULL << 30; // more than any bitmap of kMediaMaxPixels
    std::string head(18, '\0');
    size_t have = 0;
    for (;;) {
        if (have == head.size()) {
            if (have == 18 && !tabulon::isBmp(head) && !tabulon::isIcon(head))
                break;
            if (head.size() >= kLargest) {
                error = "is larger than any bitmap Tabulon reads";
                return false;
            }
            head.resize(std::min(kLargest, std::max<size_t>(head.size() * 2, 64 * 1024)));
        }
        const ssize_t got = ::pread(source, head.data() + have, head.size() - have, static_cast<off_t>(have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            head.resize(have);
            break;
        }
        have += static_cast<size_t>(got);
    }
    if (tabulon::isBmp(head) || tabulon::isIcon(head))
        bytes = std::move(head);
    return true;
}

// The thumbnail of a bitmap that our own decoder read.
Image bitmapThumbnail(const tabulon::DecodedBitmap& bitmap, int longSide, bool opaque) {
    Image memory(vips_image_new_from_memory(bitmap.pixels.data(), bitmap.pixels.size(),
                                            static_cast<int>(bitmap.width), static_cast<int>(bitmap.height),
                                            bitmap.bands, VIPS_FORMAT_UCHAR));
    VipsImage* tagged = nullptr;
    if (!memory || vips_copy(memory.get(), &tagged, "interpretation", VIPS_INTERPRETATION_sRGB, nullptr) != 0)
        return nullptr;
    Image colour(tagged);
    VipsImage* made = nullptr;
    if (vips_thumbnail_image(colour.get(), &made, longSide, "height", longSide, "size", VIPS_SIZE_DOWN,
                             nullptr) != 0)
        return nullptr;
    return finished(made, opaque);
}

} // namespace
} // namespace tabulon::media

using namespace tabulon::media;

namespace {

int thumbnail(int source, const char* dot, int longSide, int* width, int* height, void** bytes, size_t* size,
              char* error, size_t errorSize) {
    if (!startVips(error, errorSize))
        return -1;
    const bool opaque = dot != nullptr && (strcasecmp(dot, ".jpg") == 0 || strcasecmp(dot, ".jpeg") == 0);
    std::string bitmapFile;
    std::string reason;
    if (!readBitmapFile(source, bitmapFile, reason)) {
        putError(error, errorSize, reason);
        return -1;
    }
    tabulon::DecodedBitmap bitmap;
    if (!bitmapFile.empty()) {
        bitmap = tabulon::decodeBitmap(bitmapFile, kMediaMaxPixels);
        if (!bitmap.error.empty()) {
            putError(error, errorSize, bitmap.error);
            return -1;
        }
    }
    std::string warning;
    bool damaged = false;
    Image out;
    if (!bitmapFile.empty() && bitmap.png.empty()) {
        out = bitmapThumbnail(bitmap, longSide, opaque);
        if (!out) {
            putError(error, errorSize, failureReason());
            return -1;
        }
    } else {
        Source file = opened(source, bitmap.png);
        if (!file) {
            putError(error, errorSize, failureReason());
            return -1;
        }
        // The header first: a picture too large to decode is refused unread.
        Image header(vips_image_new_from_source(file.get(), "", nullptr));
        if (!header) {
            putError(error, errorSize, failureReason());
            return -1;
        }
        const long long pixels =
            static_cast<long long>(vips_image_get_width(header.get())) * vips_image_get_height(header.get());
        if (pixels > kMediaMaxPixels) {
            putError(error, errorSize,
                     "has " + std::to_string(vips_image_get_width(header.get())) + "x" +
                         std::to_string(vips_image_get_height(header.get())) + " pixels, more than " +
                         std::to_string(kMediaMaxPixels / 1000000) + " million");
            return -1;
        }
        // A picture without a profile is taken as sRGB already, as browsers take
        // it: building a colour transform for it would cost more than the rest.
        const bool profiled = vips_image_get_typeof(header.get(), VIPS_META_ICC_NAME) != 0;
        header.reset();
        file.reset();

        // Read strictly first, so that a damaged or cut-short picture is noticed;
        // then leniently, keeping what could be read with a warning.
        out = decodedThumbnail(source, bitmap.png, longSide, profiled, opaque, true);
        if (!out) {
            const std::string strict = vipsReason();
            out = decodedThumbnail(source, bitmap.png, longSide, profiled, opaque, false);
            if (!out) {
                putError(error, errorSize, failureReason());
                return -1;
            }
            warning = strict;
            damaged = true;
        }
    }
    stripAllButProfile(out.get());

    if (dot == nullptr || vips_image_write_to_buffer(out.get(), dot, bytes, size, nullptr) != 0) {
        putError(error, errorSize,
                 dot == nullptr ? std::string("no format for the thumbnail") : failureReason());
        return -1;
    }
    *width = vips_image_get_width(out.get());
    *height = vips_image_get_height(out.get());
    if (damaged) {
        putError(error, errorSize, warning);
        return 1;
    }
    return 0;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int tabulon_media_thumbnail(int source, const char* format,
                                                                   int longSide, int* width, int* height,
                                                                   void** bytes, size_t* size, char* error,
                                                                   size_t errorSize) {
    // No exception leaves the module: a picture too large for the memory
    // left is that picture's trouble, not the list's.
    try {
        return thumbnail(source, format, longSide, width, height, bytes, size, error, errorSize);
    } catch (const std::bad_alloc&) {
        putError(error, errorSize, "not enough memory to read it");
    } catch (...) {
        putError(error, errorSize, "cannot be decoded");
    }
    return -1;
}

__attribute__((visibility("default"))) void tabulon_media_free(void* bytes) {
    g_free(bytes);
}

__attribute__((visibility("default"))) int tabulon_media_size(int source, int* width, int* height) {
    if (!startVips(nullptr, 0))
        return -1;
    Source file = descriptorSource(source);
    Image image(file ? vips_image_new_from_source(file.get(), "", nullptr) : nullptr);
    if (!image) {
        (void)vipsReason(); // not kept for a later picture
        return -1;
    }
    *width = vips_image_get_width(image.get());
    *height = vips_image_get_height(image.get());
    return 0;
}

} // extern "C"
