// libtabulon-media.so: libvips's thumbnailer and Exiv2's metadata reader
// behind the C functions of media_module.h. No C++ exception and no GLib
// type leaves it.
#include "modules/media_module.h"
#include "base/utf8.h"

#include "modules/bitmap_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <malloc.h>
#include <strings.h>
#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <vips/vips.h>

namespace {

void putError(char* error, size_t errorSize, const std::string& what) {
    if (error != nullptr && errorSize > 0) {
        const size_t n = std::min(what.size(), errorSize - 1);
        std::memcpy(error, what.data(), n);
        error[n] = '\0';
    }
}

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
// else the first that names no file, and leaves the others to theirs.
std::mutex reasonLock;
std::deque<std::string> reasons;

// Empty when the line is gone: libvips also clears the buffer itself, from
// any thread, so with several pictures at once a reason can be lost.
std::string vipsReason(std::string_view source = {}) {
    const std::lock_guard<std::mutex> hold(reasonLock);
    char* all = vips_error_buffer_copy();
    vips_error_clear();
    const std::string text = all != nullptr ? all : "";
    g_free(all);
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        if (end > at)
            reasons.emplace_back(text, at, end - at);
        at = end + 1;
    }
    while (reasons.size() > 64) // left by pictures that succeeded
        reasons.pop_front();
    auto mine = std::find_if(reasons.begin(), reasons.end(),
                             [&](const std::string& line) { return fileNamedIn(line) == source; });
    if (mine == reasons.end() || source.empty())
        mine = std::find_if(reasons.begin(), reasons.end(),
                            [](const std::string& line) { return fileNamedIn(line).empty(); });
    if (mine == reasons.end())
        return {};
    std::string reason = std::move(*mine);
    reasons.erase(mine);
    return reason;
}

std::string failureReason(std::string_view source) {
    std::string reason = vipsReason(source);
    return reason.empty() ? "cannot be decoded" : reason;
}

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
using Image = std::unique_ptr<VipsImage, Unref>;
// Pictures are opened as sources: a name is only a name, never read for
// libvips's "[option]" suffixes.
using Source = std::unique_ptr<VipsSource, Unref>;

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

// The picture `source` opened by libvips: the file, or `memory` when that
// holds it (an icon's PNG).
Source opened(const char* source, std::string_view memory) {
    return Source(memory.empty() ? vips_source_new_from_file(source)
                                 : vips_source_new_from_memory(memory.data(), memory.size()));
}

// The thumbnail of a picture that libvips decodes, strictly (any warning of
// its decoder fails) or leniently.
Image decodedThumbnail(const char* source, std::string_view memory, int longSide, bool profiled, bool opaque,
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
bool readBitmapFile(const char* source, std::string& bytes, std::string& error) {
    constexpr size_t kLargest = 1ULL << 30; // more than any bitmap of kMediaMaxPixels
    const int fd = ::open(source, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::string head(18, '\0');
    bool readable = true;
    size_t have = 0;
    for (;;) {
        if (have == head.size()) {
            if (have == 18 && !tabulon::isBmp(head) && !tabulon::isIcon(head))
                break;
            if (head.size() >= kLargest) {
                error = "is larger than any bitmap Tabulon reads";
                readable = false;
                break;
            }
            head.resize(std::min(kLargest, std::max<size_t>(head.size() * 2, 64 * 1024)));
        }
        const ssize_t got = ::read(fd, head.data() + have, head.size() - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = std::strerror(errno);
            readable = false;
            break;
        }
        if (got == 0) {
            head.resize(have);
            break;
        }
        have += static_cast<size_t>(got);
    }
    ::close(fd);
    if (readable && (tabulon::isBmp(head) || tabulon::isIcon(head)))
        bytes = std::move(head);
    return readable;
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

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Only Exiv2's picture readers are used, never its video readers (QuickTime,
// RIFF, Matroska, ASF): on a damaged file they can run for minutes or take
// memory without end, and a list wants no metadata of a video. HEIF and
// AVIF go to the BMFF reader.
bool isPictureType(int type) {
    namespace T = Exiv2::ImageType;
    for (const int picture :
         {T::jpeg, T::exv, T::crw, T::tiff, T::mrw, T::png, T::cr2, T::raf, T::orf,  T::xmp,
          T::gif,  T::psd, T::tga, T::bmp,  T::jp2, T::rw2, T::pgf, T::eps, T::bmff, T::webp}) {
        if (type == picture)
            return true;
    }
    return false;
}

// Exiv2 0.27 keeps XMP's parser state in globals.
std::mutex exivLock;

void silence(const char*, GLogLevelFlags, const char*, gpointer) {}

bool isCalendarDay(int year, int month, int day) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year == 0 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month != 2 || day <= 28 || leap;
}

// "YYYY:MM:DD ..." or "YYYY-MM-DD..." as YYYY-MM-DD; empty for anything else,
// a camera's unset clock (zeros) and a day no calendar has included.
std::string dayOf(const std::string& text) {
    if (text.size() < 10)
        return {};
    std::string day = text.substr(0, 10);
    for (size_t i = 0; i < day.size(); ++i) {
        const bool separator = i == 4 || i == 7;
        if (separator ? (day[i] != ':' && day[i] != '-') : (day[i] < '0' || day[i] > '9'))
            return {};
        if (separator)
            day[i] = '-';
    }
    if (!isCalendarDay(std::stoi(day.substr(0, 4)), std::stoi(day.substr(5, 2)), std::stoi(day.substr(8, 2))))
        return {};
    return day;
}

struct Meta {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

// libvips is started with the first picture it reads, not for lists that
// only read metadata (but for a HEIF picture's): starting it loads its own
// modules too.
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

// The datum `exiv2 -pa` prints under `key`, compared as text: an index or a
// path in it ("Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:City") is part of
// the name, and an unknown name is simply absent.
template <class Data> auto findKey(const Data& data, const std::string& key) {
    return std::find_if(data.begin(), data.end(), [&key](const auto& datum) { return datum.key() == key; });
}

// Windows-1252's characters at 0x80 to 0x9F; the five it leaves free stay
// Latin-1's control characters.
constexpr char16_t kWindows1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// IPTC text as UTF-8. The record names its character set in 1:90, where
// ESC % G is UTF-8; any other is read as Windows-1252 (Latin-1's superset,
// what cameras and exiftool write). Without one, text that reads as UTF-8
// is taken as such (many programs write UTF-8 and say nothing; Latin-1 text
// is almost never valid UTF-8), and any other as Windows-1252.
std::string iptcText(const Meta& meta, const std::string& text) {
    const auto set = findKey(meta.iptc, "Iptc.Envelope.CharacterSet");
    if (set != meta.iptc.end() ? set->toString() == "\x1b%G" : tabulon::isValidUtf8(text))
        return text;
    std::string utf8;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        tabulon::appendUtf8(utf8, byte >= 0x80 && byte < 0xA0 ? kWindows1252[byte - 0x80] : byte);
    }
    return utf8;
}

std::string taken(const Meta& meta) {
    const auto exif = meta.exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
    if (exif != meta.exif.end()) {
        if (std::string day = dayOf(exif->toString()); !day.empty())
            return day;
    }
    const auto xmp = meta.xmp.findKey(Exiv2::XmpKey("Xmp.photoshop.DateCreated"));
    return xmp != meta.xmp.end() ? dayOf(xmp->toString()) : std::string();
}

// Without the spaces and zero bytes that cameras pad a blank description with.
std::string trimmed(std::string text) {
    const size_t end = text.find_last_not_of(std::string(" \t\r\n\0", 5));
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

std::string caption(const Meta& meta) {
    const auto xmp = meta.xmp.findKey(Exiv2::XmpKey("Xmp.dc.description"));
    if (xmp != meta.xmp.end()) {
        std::string text;
        if (const auto* alt = dynamic_cast<const Exiv2::LangAltValue*>(&xmp->value())) {
            const auto plain = alt->value_.find("x-default");
            if (plain != alt->value_.end())
                text = plain->second;
            else if (!alt->value_.empty())
                text = alt->value_.begin()->second;
        } else {
            text = xmp->toString();
        }
        if (text = trimmed(text); !text.empty())
            return text;
    }
    const auto iptc = findKey(meta.iptc, "Iptc.Application2.Caption");
    if (iptc != meta.iptc.end()) {
        if (std::string text = trimmed(iptc->toString()); !text.empty())
            return iptcText(meta, text);
    }
    const auto exif = meta.exif.findKey(Exiv2::ExifKey("Exif.Image.ImageDescription"));
    return exif != meta.exif.end() ? trimmed(exif->toString()) : std::string();
}

// What `exiv2 -pa` shows for the key: the value as Exiv2 interprets it.
std::string keyValue(const Meta& meta, const std::string& key) {
    if (key.starts_with("Exif.")) {
        const auto found = findKey(meta.exif, key);
        return found != meta.exif.end() ? found->print(&meta.exif) : std::string();
    }
    if (key.starts_with("Iptc.")) {
        const auto found = findKey(meta.iptc, key);
        return found != meta.iptc.end() ? iptcText(meta, found->print()) : std::string();
    }
    if (key.starts_with("Xmp.")) {
        const auto found = findKey(meta.xmp, key);
        return found != meta.xmp.end() ? found->print() : std::string();
    }
    return {};
}

// Exiv2 0.27's BMFF reader misses items placed by a base offset, as in
// libheif's tiled HEIC; libvips's HEIF loader (libheif) finds their EXIF and
// XMP, which Exiv2 then reads.
void readHeifThroughVips(const char* path, Meta& meta) {
    if (!startVips(nullptr, 0))
        return;
    Source file(vips_source_new_from_file(path));
    Image header(file ? vips_image_new_from_source(file.get(), "", nullptr) : nullptr);
    if (!header) {
        (void)vipsReason(path); // its own line only: others still want theirs
        return;
    }
    const void* data = nullptr;
    size_t size = 0;
    if (vips_image_get_typeof(header.get(), VIPS_META_EXIF_NAME) != 0 &&
        vips_image_get_blob(header.get(), VIPS_META_EXIF_NAME, &data, &size) == 0) {
        const auto* bytes = static_cast<const Exiv2::byte*>(data);
        if (size >= 6 && std::memcmp(bytes, "Exif\0\0", 6) == 0) {
            bytes += 6;
            size -= 6;
        }
        Exiv2::ExifParser::decode(meta.exif, bytes, static_cast<uint32_t>(size));
    }
    // libvips 8.14 keeps HEIF's XMP as "heif-mime-N", a MIME item by number.
    const std::unique_ptr<gchar*, decltype(&g_strfreev)> fields(vips_image_get_fields(header.get()),
                                                                g_strfreev);
    for (gchar** field = fields.get(); *field != nullptr && meta.xmp.empty(); ++field) {
        if ((std::strcmp(*field, VIPS_META_XMP_NAME) == 0 || std::strncmp(*field, "heif-mime-", 10) == 0) &&
            vips_image_get_blob(header.get(), *field, &data, &size) == 0) {
            Exiv2::XmpData xmp;
            if (Exiv2::XmpParser::decode(xmp, std::string(static_cast<const char*>(data), size)) == 0)
                meta.xmp = std::move(xmp);
        }
    }
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int tabulon_media_init(char* error, size_t errorSize) {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        // Exiv2 takes and frees a large buffer for every picture it reads. Left
        // to its defaults, glibc hands that memory back to the system each time
        // and maps it again for the next picture, which cost half of a
        // metadata list's time. Keep it instead: the heap stays at its peak.
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        mallopt(M_TOP_PAD, 16 << 20);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // HEIF, AVIF, CR3 and JPEG XL: without it they fall to the QuickTime reader.
        Exiv2::enableBMFF(true);
        started = Exiv2::XmpParser::initialize();
    });
    if (!started) {
        putError(error, errorSize, "cannot start Exiv2's XMP parser");
        return -1;
    }
    return 0;
}

__attribute__((visibility("default"))) int tabulon_media_thumbnail(const char* source, const char* temp,
                                                                   int longSide, int* width, int* height,
                                                                   char* error, size_t errorSize) {
    if (!startVips(error, errorSize))
        return -1;
    const char* dot = std::strrchr(temp, '.');
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
            putError(error, errorSize, failureReason(source));
            return -1;
        }
    } else {
        Source file = opened(source, bitmap.png);
        if (!file) {
            putError(error, errorSize, failureReason(source));
            return -1;
        }
        // The header first: a picture too large to decode is refused unread.
        Image header(vips_image_new_from_source(file.get(), "", nullptr));
        if (!header) {
            putError(error, errorSize, failureReason(source));
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
            const std::string strict = vipsReason(source);
            out = decodedThumbnail(source, bitmap.png, longSide, profiled, opaque, false);
            if (!out) {
                putError(error, errorSize, failureReason(source));
                return -1;
            }
            warning = strict;
            damaged = true;
        }
    }
    stripAllButProfile(out.get());

    void* bytes = nullptr;
    size_t size = 0;
    if (dot == nullptr || vips_image_write_to_buffer(out.get(), dot, &bytes, &size, nullptr) != 0) {
        putError(error, errorSize,
                 dot == nullptr ? std::string("no format for the thumbnail") : failureReason(source));
        return -1;
    }
    std::unique_ptr<void, decltype(&g_free)> owned(bytes, g_free);
    const int fd = ::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        putError(error, errorSize, std::string(temp) + ": " + std::strerror(errno));
        return kMediaWriteFailed;
    }
    // Synced before the caller renames it over the name, as every file is written.
    const bool written = writeAll(fd, static_cast<const char*>(bytes), size) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(temp);
        putError(error, errorSize, std::string(temp) + ": " + std::strerror(written ? errno : savedErrno));
        return kMediaWriteFailed;
    }
    *width = vips_image_get_width(out.get());
    *height = vips_image_get_height(out.get());
    if (damaged) {
        putError(error, errorSize, warning);
        return 1;
    }
    return 0;
}

__attribute__((visibility("default"))) int tabulon_media_size(const char* path, int* width, int* height) {
    if (!startVips(nullptr, 0))
        return -1;
    Source file(vips_source_new_from_file(path));
    Image image(file ? vips_image_new_from_source(file.get(), "", nullptr) : nullptr);
    if (!image) {
        (void)vipsReason(path); // its own line only: others still want theirs
        return -1;
    }
    *width = vips_image_get_width(image.get());
    *height = vips_image_get_height(image.get());
    return 0;
}

__attribute__((visibility("default"))) void* tabulon_media_meta_open(const char* path) {
    const std::lock_guard<std::mutex> lock(exivLock);
    try {
        // A FileIo of our own: given the name alone, Exiv2 would fetch an
        // "http://" name from the network and read "-" from stdin.
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(path)); // owned at once (a std::auto_ptr)
        const int type = Exiv2::ImageFactory::getType(*io);
        if (!isPictureType(type))
            return nullptr;
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(std::move(io));
        image->readMetadata();
        auto meta = std::make_unique<Meta>();
        meta->exif = std::move(image->exifData());
        meta->iptc = std::move(image->iptcData());
        meta->xmp = std::move(image->xmpData());
        if (type == Exiv2::ImageType::bmff && meta->exif.empty() && meta->xmp.empty())
            readHeifThroughVips(path, *meta);
        return meta.release();
    } catch (...) {
        return nullptr; // no picture, or none Exiv2 can read (damaged metadata included): no metadata
    }
}

__attribute__((visibility("default"))) void tabulon_media_meta_close(void* meta) {
    delete static_cast<Meta*>(meta);
}

__attribute__((visibility("default"))) size_t tabulon_media_meta_value(void* meta, int what, const char* key,
                                                                       char* out, size_t size) {
    if (meta == nullptr)
        return 0;
    const std::lock_guard<std::mutex> lock(exivLock);
    try {
        const Meta& m = *static_cast<const Meta*>(meta);
        const std::string value = what == kMediaTaken     ? taken(m)
                                  : what == kMediaCaption ? caption(m)
                                                          : keyValue(m, key != nullptr ? key : "");
        if (value.empty())
            return 0;
        if (value.size() < size) {
            std::memcpy(out, value.data(), value.size());
            out[value.size()] = '\0';
        }
        return value.size() + 1;
    } catch (...) {
        return 0; // a key Exiv2 does not know
    }
}

} // extern "C"
