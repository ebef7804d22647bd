// The metadata half of libtabulon-media.so: Exiv2's reader behind the init
// and metadata functions of media_module.h, with IPTC text made UTF-8 and a
// HEIF's metadata read through libvips where Exiv2 misses it. No C++
// exception leaves it.
#include "modules/media_module.h"
#include "modules/media_shared.h"

#include "base/utf8.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>

#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <vips/vips.h>

namespace tabulon::media {
namespace {

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
void readHeifThroughVips(int source, Meta& meta) {
    if (!startVips(nullptr, 0))
        return;
    Source file = descriptorSource(source);
    Image header(file ? vips_image_new_from_source(file.get(), "", nullptr) : nullptr);
    if (!header) {
        (void)vipsReason(); // not kept for a later picture
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
} // namespace tabulon::media

using namespace tabulon::media;

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
    return warmUp(error, errorSize) ? 0 : -1;
}

__attribute__((visibility("default"))) void* tabulon_media_meta_open(int source) {
    const std::lock_guard<std::mutex> lock(exivLock);
    // Exiv2 reads the picture from memory: the file mapped, read-only. It
    // cannot open a file by name, so it fetches nothing from the network
    // either.
    struct stat st {};
    if (::fstat(source, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<unsigned long long>(st.st_size) > std::numeric_limits<long>::max())
        return nullptr;
    const auto size = static_cast<size_t>(st.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, source, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const std::unique_ptr<void, std::function<void(void*)>> held(mapped,
                                                                 [size](void* at) { ::munmap(at, size); });
    try {
        Exiv2::BasicIo::AutoPtr io(
            new Exiv2::MemIo(static_cast<const Exiv2::byte*>(mapped), static_cast<long>(size)));
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
            readHeifThroughVips(source, *meta);
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
