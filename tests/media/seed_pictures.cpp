#include "seed_pictures.h"

#include <cstdint>
#include <fstream>

#include <exiv2/exiv2.hpp>
#include <vips/vips.h>

#include "support/made_pictures.h"

namespace tabulon::test {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 48;
constexpr int kHeight = 32;

unsigned char shade(int x, int y, int band) {
    return static_cast<unsigned char>(x * 37 + y * 11 + band * 91);
}

// A busy pattern rather than a flat colour, so that every encoder writes
// real compressed data for the mutations to land in.
Image pattern(int width, int height, int bands, bool deep = false) {
    const int bytes = deep ? 2 : 1;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * bands * bytes);
    std::size_t at = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int band = 0; band < bands; ++band) {
                const unsigned value = shade(x, y, band) ^ (x * y);
                for (int byte = 0; byte < bytes; ++byte)
                    pixels[at++] = static_cast<unsigned char>(value >> (8 * byte) ^ (band == 3 ? x * 5 : 0));
            }
    Image raw(vips_image_new_from_memory_copy(pixels.data(), pixels.size(), width, height, bands,
                                              deep ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR));
    VipsImage* typed = nullptr;
    const VipsInterpretation kind = deep ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB;
    if (!raw || vips_copy(raw.get(), &typed, "interpretation", kind, nullptr) != 0)
        return nullptr;
    return Image(typed);
}

// Three pictures one above the other, as libvips keeps an animation.
Image animation() {
    Image strip = pattern(kWidth, kHeight * 3, 4);
    VipsImage* out = nullptr;
    if (!strip || vips_copy(strip.get(), &out, nullptr) != 0)
        return nullptr;
    vips_image_set_int(out, "page-height", kHeight);
    vips_image_set_int(out, "loop", 0);
    const int delays[] = {80, 80, 80};
    vips_image_set_array_int(out, "delay", delays, 3);
    return Image(out);
}

void setSeedExif(Exiv2::ExifData& exif) {
    exif["Exif.Image.Make"] = "Tabulon Camera";
    exif["Exif.Image.Model"] = "Seed";
    exif["Exif.Image.Orientation"] = std::uint16_t{6};
    exif["Exif.Image.ImageDescription"] = "Exif caption";
    exif["Exif.Photo.DateTimeOriginal"] = "2019:07:14 10:11:12";
}

void setSeedXmp(Exiv2::XmpData& xmp) {
    xmp["Xmp.dc.description"] = "lang=x-default XMP caption";
    xmp["Xmp.photoshop.DateCreated"] = "2018-03-04T05:06:07";
}

enum class Tags { kNone, kExifXmp, kWithIptc, kThroughVips };

// Tags a written file as a camera and a photo editor would.
bool tagFile(const std::string& path, Tags tags) {
    try {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        setSeedExif(image->exifData());
        setSeedXmp(image->xmpData());
        if (tags == Tags::kWithIptc)
            image->iptcData()["Iptc.Application2.Caption"] = "IPTC caption";
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError&) {
        return false;
    }
}

// HEIF files get their EXIF and XMP from libvips, which Exiv2 0.27 cannot write.
void attachMetadata(VipsImage* image) {
    Exiv2::ExifData exif;
    setSeedExif(exif);
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, Exiv2::littleEndian, exif);
    std::string blob("Exif\0\0", 6);
    blob.append(tiff.begin(), tiff.end());
    vips_image_set_blob_copy(image, VIPS_META_EXIF_NAME, blob.data(), blob.size());
    Exiv2::XmpData xmp;
    setSeedXmp(xmp);
    std::string packet;
    if (Exiv2::XmpParser::encode(packet, xmp) == 0)
        vips_image_set_blob_copy(image, VIPS_META_XMP_NAME, packet.data(), packet.size());
}

// A Windows bitmap as paint programs write it: 24 bits bottom-up, or 8 bits
// with a palette stored top-down (a negative height).
std::string bitmap(bool palette) {
    const int bits = palette ? 8 : 24;
    const int stride = (kWidth * bits / 8 + 3) & ~3;
    const std::uint32_t colours = palette ? 256 : 0;
    const std::uint32_t offset = 14 + 40 + colours * 4;
    // Uncompressed, 2835 pixels a metre.
    std::string bytes = "BM" + le(offset + stride * kHeight, 4) + le(0, 4) + le(offset, 4) + le(40, 4) +
                        le(kWidth, 4) + le(static_cast<std::uint32_t>(palette ? -kHeight : kHeight), 4) +
                        le(1, 2) + le(bits, 2) + le(0, 4) + le(stride * kHeight, 4) + le(2835, 4) +
                        le(2835, 4) + le(colours, 4) + le(0, 4);
    for (std::uint32_t i = 0; i < colours; ++i)
        bytes += le((i * 0x010307) & 0xFFFFFF, 4);
    for (int row = 0; row < kHeight; ++row) {
        const int y = palette ? row : kHeight - 1 - row;
        std::string line;
        for (int x = 0; x < kWidth; ++x)
            for (int band = 0; band < bits / 8; ++band)
                line.push_back(static_cast<char>(shade(x, y, band)));
        line.resize(static_cast<std::size_t>(stride), '\0');
        bytes += line;
    }
    return bytes;
}

// An icon (or, with `cursor`, a cursor and its hot spot) holding a 32x32 PNG
// and a 16x16 bitmap with its transparency mask.
std::string icon(bool cursor) {
    Image png = pattern(32, 32, 4);
    void* pngBytes = nullptr;
    std::size_t pngSize = 0;
    if (!png || vips_pngsave_buffer(png.get(), &pngBytes, &pngSize, nullptr) != 0)
        return {};
    const std::string pngData(static_cast<const char*>(pngBytes), pngSize);
    g_free(pngBytes);

    // 32 rows: the colour rows and the mask's, as icons count them.
    std::string dib = le(40, 4) + le(16, 4) + le(32, 4) + le(1, 2) + le(32, 2) + std::string(24, '\0');
    for (int y = 15; y >= 0; --y)
        for (int x = 0; x < 16; ++x)
            for (int band = 0; band < 4; ++band)
                dib.push_back(static_cast<char>(band == 3 ? 255 - x * 8 : shade(x, y, band)));
    for (int y = 0; y < 16; ++y)
        dib += le(y % 2 != 0 ? 0x0000FFFF : 0, 4);

    std::string bytes = le(0, 2) + le(cursor ? 2 : 1, 2) + le(2, 2);
    const std::uint32_t first = 6 + 2 * 16;
    const auto entry = [&](int side, const std::string& data, std::uint32_t at) {
        bytes += le(side, 1) + le(side, 1) + le(0, 2) + le(cursor ? side / 2 : 1, 2) +
                 le(cursor ? side / 2 : 32, 2) + le(static_cast<std::uint32_t>(data.size()), 4) + le(at, 4);
    };
    entry(32, pngData, first);
    entry(16, dib, first + static_cast<std::uint32_t>(pngData.size()));
    return bytes + pngData + dib;
}

const char* const kSizedSvg =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="48" height="32">
<defs><linearGradient id="g"><stop offset="0" stop-color="#c03"/><stop offset="1" stop-color="#03c"/></linearGradient>
<filter id="b"><feGaussianBlur stdDeviation="1"/></filter></defs>
<rect width="48" height="32" fill="url(#g)"/><circle cx="24" cy="16" r="10" fill="#fc0" filter="url(#b)"/>
<path d="M2 30 L24 2 L46 30 Z" fill="none" stroke="#000" stroke-width="1.5"/>
<text x="4" y="28" font-size="8">Tabulon</text>
<use xlink:href="#g"/></svg>
)svg";
const char* const kViewBoxSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><title>icon</title>
<circle cx="12" cy="12" r="9" fill="none" stroke="currentColor" stroke-width="2"/>
<polyline points="8,12 11,15 16,9" fill="none" stroke="#090"/></svg>
)";

enum class Kind { kRgb, kRgba, kDeep, kAnimation };

// Encoded by libvips: the saver's options follow the name, as libvips reads them.
struct Encoded {
    const char* name;
    const char* options;
    Kind kind;
    Tags tags = Tags::kNone;
};

const Encoded kEncoded[] = {
    {"photo.jpg", "[Q=70]", Kind::kRgb, Tags::kWithIptc},
    {"progressive.jpg", "[interlace]", Kind::kRgb},
    {"alpha.png", "", Kind::kRgba, Tags::kExifXmp},
    {"interlaced.png", "[interlace]", Kind::kRgb},
    {"deep.png", "[bitdepth=16]", Kind::kDeep},
    {"still.gif", "", Kind::kRgb},
    {"animated.gif", "", Kind::kAnimation},
    {"lossy.webp", "[Q=60]", Kind::kRgb, Tags::kExifXmp},
    {"lossless.webp", "[lossless]", Kind::kRgba},
    {"animated.webp", "", Kind::kAnimation},
    {"photo.avif", "[compression=av1,Q=40]", Kind::kRgb, Tags::kThroughVips},
    {"alpha.avif", "[compression=av1,Q=40]", Kind::kRgba},
    {"photo.heic", "[compression=hevc,Q=40]", Kind::kRgb, Tags::kThroughVips},
    {"tiled.tif", "[tile,tile_width=16,tile_height=16,compression=deflate,predictor=horizontal]", Kind::kRgba,
     Tags::kExifXmp},
    {"strips.tiff", "[compression=lzw]", Kind::kDeep},
};

bool writeEncoded(const Encoded& seed, const std::string& path) {
    Image image = seed.kind == Kind::kAnimation
                      ? animation()
                      : pattern(kWidth, kHeight, seed.kind == Kind::kRgba ? 4 : 3, seed.kind == Kind::kDeep);
    if (!image)
        return false;
    if (seed.tags == Tags::kThroughVips)
        attachMetadata(image.get());
    if (vips_image_write_to_file(image.get(), (path + seed.options).c_str(), nullptr) != 0)
        return false;
    return seed.tags == Tags::kNone || seed.tags == Tags::kThroughVips || tagFile(path, seed.tags);
}

} // namespace

SeedPictures writeSeedPictures(const fs::path& folder) {
    SeedPictures made;
    if (!startVips()) {
        made.failed.push_back("libvips does not start");
        return made;
    }
    (void)Exiv2::XmpParser::initialize(); // false only without XMP support, which tagging reports
    const std::vector<std::pair<std::string, std::string>> byteSeeds = {
        {"true.bmp", bitmap(false)}, {"palette.bmp", bitmap(true)}, {"icon.ico", icon(false)},
        {"pointer.cur", icon(true)}, {"sized.svg", kSizedSvg},      {"viewbox.svg", kViewBoxSvg}};
    for (const Encoded& seed : kEncoded) {
        const std::string path = (folder / seed.name).string();
        if (writeEncoded(seed, path)) {
            made.names.push_back(seed.name);
            continue;
        }
        const std::string reason = vips_error_buffer();
        vips_error_clear();
        if (!(std::string_view(seed.name).ends_with(".heic") && reason.find("encoder") != std::string::npos))
            made.failed.push_back(std::string(seed.name) + ": " + reason);
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    for (const auto& [name, bytes] : byteSeeds) {
        if (!bytes.empty() && std::ofstream(folder / name, std::ios::binary) << bytes)
            made.names.push_back(name);
        else
            made.failed.push_back(name + ": not written");
    }
    return made;
}

} // namespace tabulon::test
