#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "listgen/image_size.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

std::string dataFile(const std::string& name) {
    return test::readAll(std::string(TABULON_TEST_DATA) + "/orientation/" + name);
}

// Each picture is stored 3x2 and tagged with an orientation, in either byte
// order; 5 to 8 stand it on its side.
TEST(TaggedPhotos, AreSizedAsABrowserShowsThem) {
    for (const char* turned :
         {"jpeg-5.jpg", "jpeg-6.jpg", "jpeg-7.jpg", "jpeg-8.jpg", "png-6.png", "webp-6.webp"})
        EXPECT_EQ(readImageSize(dataFile(turned)), (ImageSize{2, 3})) << turned;
    for (const char* upright : {"jpeg-1.jpg", "jpeg-2.jpg", "jpeg-3.jpg", "jpeg-4.jpg"})
        EXPECT_EQ(readImageSize(dataFile(upright)), (ImageSize{3, 2})) << upright;
}

std::string bytes(std::uint64_t v, int count, bool little) {
    return little ? test::le(v, count) : test::be(v, count);
}
using test::be;
using test::le;

// A TIFF whose first directory holds (tag, type, value) entries.
std::string tiffFile(bool little, const std::vector<std::tuple<int, int, std::uint32_t>>& entries,
                     const std::string& before = {}) {
    std::string d = (little ? "II*\0"s : "MM\0*"s) + bytes(8 + before.size(), 4, little) + before;
    d += bytes(entries.size(), 2, little);
    for (const auto& [tag, type, value] : entries)
        d += bytes(tag, 2, little) + bytes(type, 2, little) + bytes(1, 4, little) +
             (type == 3 ? bytes(value, 2, little) + "\0\0"s : bytes(value, 4, little));
    return d + bytes(0, 4, little);
}

// A 3x2 JPEG's header with an Exif segment.
std::string jpeg(const std::string& tiff) {
    const std::string body = "Exif\0\0"s + tiff;
    return "\xFF\xD8\xFF\xE1"s + be(body.size() + 2, 2) + body + "\xFF\xC0\x00\x0B\x08\x00\x02\x00\x03\x01"s;
}

const std::string kPng = dataFile("png-6.png");

// An icon directory of (width byte, height byte, offset) entries, each 100
// bytes long, and `data` behind it.
std::string icon(int type, const std::vector<std::tuple<int, int, std::uint32_t>>& entries,
                 const std::string& data = std::string(64, 'x')) {
    std::string d = le(0, 2) + le(type, 2) + le(entries.size(), 2);
    for (const auto& [width, height, offset] : entries)
        d += static_cast<char>(width) + std::string(1, static_cast<char>(height)) + le(0, 2) + le(1, 2) +
             le(32, 2) + le(100, 4) + le(offset, 4);
    return d + data;
}

std::string box(const std::string& type, const std::string& body) {
    return be(8 + body.size(), 4) + type + body;
}
std::string fullBox(const std::string& type, const std::string& body) {
    return box(type, "\0\0\0\0"s + body);
}

// An AVIF whose item 1 is primary: `properties` are ipco's boxes, of which
// item `item` has the first `associated`.
std::string avif(const std::string& properties, int associated, int item = 1, const std::string& mdat = {}) {
    std::string indexes;
    for (int i = 1; i <= associated; ++i)
        indexes.push_back(static_cast<char>(0x80 | i));
    const std::string ipma =
        fullBox("ipma", be(1, 4) + be(item, 2) + static_cast<char>(associated) + indexes);
    const std::string meta =
        fullBox("meta", fullBox("pitm", be(1, 2)) + box("iprp", box("ipco", properties) + ipma));
    return box("ftyp", "avif"s + be(0, 4) + "mif1miaf") + mdat + meta;
}
const std::string kIspe = fullBox("ispe", be(300, 4) + be(200, 4));

// Headers of small images, whole or cut short.
std::string png(std::uint32_t w, std::uint32_t h) {
    return "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s + be(w, 4) + be(h, 4) + "\x08\x02\0\0\0"s;
}

struct SizeCase : test::Sentence {
    std::string file;
    std::optional<ImageSize> size;
    std::size_t head = std::string::npos; // the rest is fetched on request
};

class ImageSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(ImageSizes, ComeFromTheHeaderWithEveryLengthChecked) {
    const std::string& file = GetParam().file;
    const ImageBytesAt more = [&file](std::uint64_t offset, std::size_t size) {
        return offset < file.size() ? file.substr(offset, size) : std::string();
    };
    EXPECT_EQ(readImageSize(std::string_view(file).substr(0, GetParam().head), more), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ImageSizes,
    testing::Values(
        SizeCase{"png", png(640, 480), ImageSize{640, 480}},
        SizeCase{"png cut short", png(640, 480).substr(0, 20), std::nullopt},
        SizeCase{"png of zero width", png(0, 480), std::nullopt},
        SizeCase{"gif", "GIF89a\x20\x00\x10\x00"s, ImageSize{32, 16}},
        SizeCase{"bmp stored top down",
                  "BM"s + std::string(12, '\0') + "\x28\0\0\0\x64\0\0\0\xCE\xFF\xFF\xFF"s,
                  ImageSize{100, 50}},
        SizeCase{"jpeg after an app segment",
                  "\xFF\xD8\xFF\xE0\x00\x04\0\0\xFF\xC0\x00\x0B\x08\x00\xF0\x01\x40\x01"s,
                  ImageSize{320, 240}},
        SizeCase{"jpeg whose segment runs past the data", "\xFF\xD8\xFF\xE1\xFF\xFF\0\0"s, std::nullopt},
        SizeCase{"jpeg that starts its scan first", "\xFF\xD8\xFF\xDA\x00\x02"s, std::nullopt},
        SizeCase{"webp lossy", "RIFF\0\0\0\0WEBPVP8 \0\0\0\0\0\0\0\x9D\x01\x2A\x40\x00\x30\x00"s,
                  ImageSize{64, 48}},
        SizeCase{"webp lossless", "RIFF\0\0\0\0WEBPVP8L\0\0\0\0\x2F\x13\x40\x02\x00\0\0\0\0"s,
                  ImageSize{20, 10}},
        SizeCase{"webp extended", "RIFF\0\0\0\0WEBPVP8X\0\0\0\0\0\0\0\0\x63\0\0\x31\0\0"s,
                  ImageSize{100, 50}},
        SizeCase{"svg with plain numbers", "<?xml version=\"1.0\"?><svg width=\"120\" height='80.5px'>",
                  ImageSize{120, 80}},
        SizeCase{"svg in percent is as wide as a browser's default", "<svg width=\"100%\" height=\"50\">",
                  ImageSize{300, 50}},
        SizeCase{"svg in absolute units", "<svg width=\"1in\" height=\"10mm\">", ImageSize{96, 37}},
        SizeCase{"svg with a square viewBox only", "<svg viewBox=\"0 0 24 24\">", ImageSize{150, 150}},
        SizeCase{"svg with a wide viewBox only", "<svg viewBox=\"-10,0,400,100\">", ImageSize{300, 75}},
        SizeCase{"svg with a width and a viewBox", "<svg width=\"48\" viewBox=\"0 0 24 12\">",
                  ImageSize{48, 24}},
        SizeCase{"svg with no size at all", "<svg xmlns=\"http://www.w3.org/2000/svg\">",
                  ImageSize{300, 150}},
        SizeCase{"svg of zero width shows nothing", "<svg width=\"0\" height=\"5\">", std::nullopt},
        SizeCase{"text is no image", "hello", std::nullopt},
        SizeCase{"text starting with BM is no bitmap", "BMW service history, 2019 to 2026, all receipts",
                  std::nullopt},
        SizeCase{"a page with an inline icon is no svg",
                  "<!DOCTYPE html><html><body><svg width=\"16\" height=\"16\"></svg>", std::nullopt},
        SizeCase{"nothing is no image", "", std::nullopt},
        SizeCase{"another tag", jpeg(tiffFile(true, {{0x110, 3, 6}})), ImageSize{3, 2}},
        SizeCase{"an orientation that is no short", jpeg(tiffFile(true, {{0x112, 4, 6}})), ImageSize{3, 2}},
        SizeCase{"an orientation out of range", jpeg(tiffFile(true, {{0x112, 3, 9}})), ImageSize{3, 2}},
        SizeCase{"a directory past the data",
                 jpeg(tiffFile(true, {{0x112, 3, 6}}).replace(4, 4, le(0xFFFFFFF0, 4))),
                 ImageSize{3, 2}},
        SizeCase{"a directory entry cut short", jpeg(tiffFile(true, {{0x112, 3, 6}}).substr(0, 18)), ImageSize{3, 2}},
        SizeCase{"no tiff header", jpeg("XX*\0\0\0\0\x08"s), ImageSize{3, 2}},
        SizeCase{"only the first exif segment counts",
                 "\xFF\xD8"s + jpeg(tiffFile(true, {{0x112, 3, 1}})).substr(2, 36) +
                     jpeg(tiffFile(true, {{0x112, 3, 6}})).substr(2),
                 ImageSize{3, 2}},
        SizeCase{"a png exif chunk behind the image data",
                 kPng.substr(0, kPng.find("eXIf") - 4) + kPng.substr(kPng.find("IDAT") - 4) +
                     kPng.substr(kPng.find("eXIf") - 4, kPng.find("IDAT") - kPng.find("eXIf")),
                 ImageSize{3, 2}},
        SizeCase{"an icon shows its largest image", icon(1, {{16, 16, 54}, {48, 32, 54}, {32, 32, 54}}),
                 ImageSize{48, 32}},
        SizeCase{"an icon entry of zero is 256 wide", icon(1, {{0, 0, 22}}), ImageSize{256, 256}},
        SizeCase{"a cursor is an icon", icon(2, {{24, 24, 22}}), ImageSize{24, 24}},
        SizeCase{"an icon's png entry gives its own size",
                 icon(1, {{16, 16, 38}, {0, 0, 38 + 24}}, kPng.substr(0, 24) + kPng.substr(0, 16) +
                                                              be(512, 4) + be(300, 4)),
                 ImageSize{512, 300}},
        SizeCase{"an icon's bitmap entry counts its mask in its height",
                 icon(1, {{0, 0, 22}}, le(40, 4) + le(300, 4) + le(600, 4) + std::string(28, '\0')),
                 ImageSize{300, 300}},
        SizeCase{"an icon's images behind the head are fetched",
                 icon(1, {{16, 16, 38}, {0, 0, 38 + 24}}, std::string(24, 'x') + kPng.substr(0, 16) +
                                                              be(512, 4) + be(300, 4)),
                 ImageSize{512, 300}, 40},
        SizeCase{"an icon directory cut short", icon(1, {{16, 16, 38}, {48, 32, 38}}).substr(0, 30), {}},
        SizeCase{"an icon image inside its directory", icon(1, {{16, 16, 6}}), {}},
        SizeCase{"a little endian tiff", tiffFile(true, {{256, 3, 3}, {257, 3, 2}}), ImageSize{3, 2}},
        SizeCase{"a big endian tiff of longs", tiffFile(false, {{256, 4, 70000}, {257, 4, 2}}),
                 ImageSize{70000, 2}},
        SizeCase{"a tiff turned by its orientation", tiffFile(true, {{256, 3, 3}, {257, 3, 2}, {274, 3, 6}}),
                 ImageSize{2, 3}},
        SizeCase{"a tiff directory behind the head is fetched",
                 tiffFile(false, {{256, 3, 3}, {257, 3, 2}}, std::string(100, 'x')), ImageSize{3, 2}, 50},
        SizeCase{"a tiff whose first image is a preview", tiffFile(true, {{254, 4, 1}, {256, 3, 3}, {257, 3, 2}}),
                 {}},
        SizeCase{"a tiff without a height", tiffFile(true, {{256, 3, 3}}), {}},
        SizeCase{"a tiff directory cut short", tiffFile(true, {{256, 3, 3}, {257, 3, 2}}).substr(0, 20), {}},
        SizeCase{"an avif is sized by its primary item", avif(kIspe, 1), ImageSize{300, 200}},
        SizeCase{"an avif turned a quarter", avif(kIspe + box("irot", "\x01"), 2), ImageSize{200, 300}},
        SizeCase{"an avif turned upside down", avif(kIspe + box("irot", "\x02"), 2), ImageSize{300, 200}},
        SizeCase{"an avif rotation of another item", avif(kIspe + box("irot", "\x01"), 1), ImageSize{300, 200}},
        SizeCase{"an avif whose size belongs to another item", avif(kIspe, 1, 2), {}},
        SizeCase{"an avif meta box behind its image data",
                 avif(kIspe, 1, 1, box("mdat", std::string(300, 'x'))), ImageSize{300, 200}, 100},
        SizeCase{"an avif box longer than its parent",
                 [] {
                     std::string d = avif(kIspe, 1);
                     d[d.find("ispe") - 1] = 40;
                     return d;
                 }(),
                 {}},
        SizeCase{"an avif cut short", avif(kIspe, 1).substr(0, 60), {}}),
    test::bySentence);

} // namespace
} // namespace tabulon
