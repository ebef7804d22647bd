#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/bitmap_decoder.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using test::le;

// A bitmap's header of `size` bytes (12, 40 or 124) and what follows it.
std::string dib(int size, std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                const std::vector<std::uint32_t>& masks = {}) {
    if (size == 12)
        return le(12, 4) + le(width, 2) + le(height, 2) + le(1, 2) + le(bits, 2);
    std::string d = le(size, 4) + le(width, 4) + le(static_cast<std::uint32_t>(height), 4) + le(1, 2) +
                    le(bits, 2) + le(compression, 4) + std::string(20, '\0');
    for (std::uint32_t mask : masks)
        d += le(mask, 4);
    return d + std::string(size - std::min<std::size_t>(d.size(), size), '\0');
}

// The header of a bitmap with a palette of four colours.
std::string paletted(int bits, std::uint32_t compression = 0) {
    std::string h = dib(40, 2, 2, bits, compression);
    return h.replace(32, 4, le(4, 4));
}

// A BMP file: its header, then `palette` and `pixels`.
std::string bmp(const std::string& header, const std::string& palette, const std::string& pixels) {
    const std::size_t offset = 14 + header.size() + palette.size();
    return "BM"s + le(offset + pixels.size(), 4) + le(0, 4) + le(offset, 4) + header + palette + pixels;
}

// An icon of (width byte, image) entries.
std::string icon(const std::vector<std::pair<int, std::string>>& images) {
    std::string directory = le(0, 2) + le(1, 2) + le(images.size(), 2);
    std::string data;
    for (const auto& [side, image] : images) {
        directory += static_cast<char>(side) + std::string(1, static_cast<char>(side)) + le(0, 2) + le(1, 2) +
                     le(32, 2) + le(image.size(), 4) + le(6 + 16 * images.size() + data.size(), 4);
        data += image;
    }
    return directory + data;
}

// Four pixels, top row red and green, bottom row blue and white.
const std::string kPicture = "\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF"s;
const std::string kPalette =
    "\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0\xFF\xFF\xFF\0"s; // red, green, blue, white (BGRx)

struct BitmapCase : test::Sentence {
    std::string file;
    int bands;
    std::string pixels; // or the start of the error
};

class Bitmaps : public testing::TestWithParam<BitmapCase> {};

TEST_P(Bitmaps, DecodeToTheirPixelsOrARefusal) {
    const DecodedBitmap made = decodeBitmap(GetParam().file, 200'000'000);
    if (GetParam().bands == 0) {
        EXPECT_TRUE(made.error.starts_with(GetParam().pixels)) << made.error;
        EXPECT_TRUE(made.pixels.empty());
        return;
    }
    ASSERT_EQ(made.error, "");
    EXPECT_EQ(made.width, 2U);
    EXPECT_EQ(made.height, 2U);
    EXPECT_EQ(made.bands, GetParam().bands);
    EXPECT_EQ(std::string(made.pixels.begin(), made.pixels.end()), GetParam().pixels);
}

// Rows are stored bottom up unless the height is negative, padded to 4 bytes.
const std::string kBgrRows = "\xFF\0\0\xFF\xFF\xFF\0\0"s + "\0\0\xFF\0\xFF\0\0\0"s;
const std::string kIndexRows8 = "\x02\x03\0\0\x00\x01\0\0"s;

INSTANTIATE_TEST_SUITE_P(
    Files, Bitmaps,
    testing::Values(
        BitmapCase{"24 bits bottom up", bmp(dib(40, 2, 2, 24), "", kBgrRows), 3, kPicture},
        BitmapCase{"24 bits top down",
                   bmp(dib(40, 2, -2, 24), "", kBgrRows.substr(8) + kBgrRows.substr(0, 8)), 3, kPicture},
        BitmapCase{"an os2 core header", bmp(dib(12, 2, 2, 24), "", kBgrRows), 3, kPicture},
        BitmapCase{"8 bits of a palette shorter than its header says",
                   bmp(dib(40, 2, 2, 8), kPalette, kIndexRows8), 3, kPicture},
        BitmapCase{"4 bits of a palette of four", bmp(paletted(4), kPalette, "\x23\0\0\0\x01\0\0\0"s), 3,
                   kPicture},
        BitmapCase{"1 bit", bmp(dib(40, 2, 2, 1), kPalette.substr(0, 8), "\x40\0\0\0\x80\0\0\0"s), 3,
                   "\0\xFF\0\xFF\0\0\xFF\0\0\0\xFF\0"s},
        BitmapCase{"an index past the palette is black",
                   bmp(paletted(8), kPalette, "\x02\x09\0\0\x00\x01\0\0"s), 3,
                   "\xFF\0\0\0\xFF\0\0\0\xFF\0\0\0"s},
        BitmapCase{"16 bits of 5 5 5", bmp(dib(40, 2, 2, 16), "", "\x1F\0\xFF\x7F\0\x7C\xE0\x03"s), 3,
                   kPicture},
        BitmapCase{"16 bits in fields of 5 6 5",
                   bmp(dib(40, 2, 2, 16, 3), le(0xF800, 4) + le(0x07E0, 4) + le(0x001F, 4),
                       "\x1F\0\xFF\xFF\0\xF8\xE0\x07"s),
                   3, kPicture},
        BitmapCase{"32 bits with an alpha field",
                   bmp(dib(124, 2, 2, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}), "",
                       "\xFF\0\0\xFF\xFF\xFF\xFF\x80"s + "\0\0\xFF\xFF\0\xFF\0\0"s),
                   4, "\xFF\0\0\xFF\0\xFF\0\0\0\0\xFF\xFF\xFF\xFF\xFF\x80"s},
        BitmapCase{"rle8 leaves what it skips transparent",
                   bmp(paletted(8, 1), kPalette, "\x01\x02\x00\x02\x01\x00\x00\x00\x01\x00\x01\x01\x00\x01"s),
                   4, "\xFF\0\0\xFF\0\xFF\0\xFF\0\0\xFF\xFF\0\0\0\0"s},
        BitmapCase{"rle4 runs alternate their two colours",
                   bmp(paletted(4, 2), kPalette, "\x02\x23\x00\x00\x02\x01\x00\x01"s), 3, kPicture},
        BitmapCase{"an icon shows its largest image with its mask",
                   icon({{1, dib(40, 1, 2, 24) + "\0\0\xFF\0"s + "\0\0\0\0"s},
                         {2, dib(40, 2, 4, 24) + kBgrRows + "\0\0\0\0\x40\0\0\0"s}}),
                   4, "\xFF\0\0\xFF\0\xFF\0\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF"s},
        BitmapCase{"a 32 bit icon has its own alpha",
                   icon({{2, dib(40, 2, 4, 32) + "\xFF\0\0\xFF\xFF\xFF\xFF\x40"s +
                                 "\0\0\xFF\xFF\0\xFF\0\x20"s + std::string(8, '\xFF')}}),
                   4, "\xFF\0\0\xFF\0\xFF\0\x20\0\0\xFF\xFF\xFF\xFF\xFF\x40"s},
        BitmapCase{"a bitmap cut short", bmp(dib(40, 2, 2, 24), "", kBgrRows.substr(0, 12)), 0,
                   "it is cut short"},
        BitmapCase{"an rle stream without its end", bmp(paletted(8, 1), kPalette, "\x02\x01"s), 0,
                   "it is cut short"},
        BitmapCase{"a file that ends in its header", bmp(dib(40, 2, 2, 24), "", "").substr(0, 30), 0,
                   "it is cut short"},
        BitmapCase{"a bomb", bmp(dib(40, 30000, 30000, 24), "", kBgrRows), 0,
                   "has 30000x30000 pixels, more than 200 million"},
        BitmapCase{"embedded jpeg", bmp(dib(40, 2, 2, 24, 4), "", kBgrRows), 0,
                   "its compression (4) is not one"},
        BitmapCase{"an icon image past its end", icon({{2, dib(40, 2, 4, 24) + kBgrRows}}).substr(0, 50), 0,
                   "it is cut short"}),
    test::bySentence);

} // namespace
} // namespace tabulon
