#include <gtest/gtest.h>

#include <string>

#include "listgen/image_size.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

std::string dataFile(const std::string& name) {
    return test::readAll(std::string(TABULON_TEST_DATA) + "/orientation/" + name);
}

struct PhotoCase {
    const char* file;
    ImageSize shown;
};

void PrintTo(const PhotoCase& c, std::ostream* os) {
    *os << c.file;
}

class TaggedPhotos : public testing::TestWithParam<PhotoCase> {};

// Each picture is stored 3x2 and tagged with an orientation; 5 to 8 stand it
// on its side.
TEST_P(TaggedPhotos, AreSizedAsABrowserShowsThem) {
    const std::string bytes = dataFile(GetParam().file);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(readImageSize(bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Orientations, TaggedPhotos,
                         testing::Values(PhotoCase{"jpeg-1.jpg", {3, 2}}, PhotoCase{"jpeg-2.jpg", {3, 2}},
                                         PhotoCase{"jpeg-3.jpg", {3, 2}}, PhotoCase{"jpeg-4.jpg", {3, 2}},
                                         PhotoCase{"jpeg-5.jpg", {2, 3}}, PhotoCase{"jpeg-6.jpg", {2, 3}},
                                         PhotoCase{"jpeg-7.jpg", {2, 3}}, PhotoCase{"jpeg-8.jpg", {2, 3}},
                                         PhotoCase{"png-6.png", {2, 3}}, PhotoCase{"webp-6.webp", {2, 3}}),
                         [](const auto& info) { return test::sentenceName(info.param.file); });

// EXIF data holding one directory entry, in either byte order.
std::string tiff(bool little, std::uint32_t tag, std::uint32_t type, std::uint32_t count, std::uint32_t value,
                 std::uint32_t directory = 8) {
    std::string d = little ? "II*\0"s : "MM\0*"s;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            d.push_back(static_cast<char>(v >> (8 * (little ? i : bytes - 1 - i))));
    };
    put(directory, 4);
    put(1, 2);
    put(tag, 2);
    put(type, 2);
    put(count, 4);
    put(value, 2);
    put(0, 2);
    return d;
}

// A 3x2 JPEG's header with an Exif segment.
std::string jpeg(const std::string& tiff) {
    const std::string body = "Exif\0\0"s + tiff;
    const auto length = static_cast<std::uint32_t>(body.size() + 2);
    return "\xFF\xD8\xFF\xE1"s + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + body +
           "\xFF\xC0\x00\x0B\x08\x00\x02\x00\x03\x01"s;
}

struct ExifCase {
    const char* sentence;
    std::string head;
    ImageSize size;
};

void PrintTo(const ExifCase& c, std::ostream* os) {
    *os << c.sentence;
}

class ExifOrientations : public testing::TestWithParam<ExifCase> {};

TEST_P(ExifOrientations, TurnOnlyWhenTheyReadCleanly) {
    EXPECT_EQ(readImageSize(GetParam().head), GetParam().size);
}

const std::string kPng = dataFile("png-6.png");

INSTANTIATE_TEST_SUITE_P(
    Headers, ExifOrientations,
    testing::Values(
        ExifCase{"little endian orientation 6", jpeg(tiff(true, 0x112, 3, 1, 6)), {2, 3}},
        ExifCase{"big endian orientation 8", jpeg(tiff(false, 0x112, 3, 1, 8)), {2, 3}},
        ExifCase{"orientation 3 turns upside down only", jpeg(tiff(false, 0x112, 3, 1, 3)), {3, 2}},
        ExifCase{"another tag", jpeg(tiff(true, 0x110, 3, 1, 6)), {3, 2}},
        ExifCase{"an orientation that is no short", jpeg(tiff(true, 0x112, 4, 1, 6)), {3, 2}},
        ExifCase{"an orientation out of range", jpeg(tiff(true, 0x112, 3, 1, 9)), {3, 2}},
        ExifCase{"a directory past the data", jpeg(tiff(true, 0x112, 3, 1, 6, 0xFFFFFFF0)), {3, 2}},
        ExifCase{"a directory entry cut short", jpeg(tiff(true, 0x112, 3, 1, 6).substr(0, 18)), {3, 2}},
        ExifCase{"no tiff header", jpeg("XX*\0\0\0\0\x08"s), {3, 2}},
        ExifCase{"only the first exif segment counts",
                 "\xFF\xD8"s + jpeg(tiff(true, 0x112, 3, 1, 1)).substr(2, 32) +
                     jpeg(tiff(true, 0x112, 3, 1, 6)).substr(2),
                 {3, 2}},
        ExifCase{"a png exif chunk behind the image data",
                 kPng.substr(0, kPng.find("eXIf") - 4) + kPng.substr(kPng.find("IDAT") - 4) +
                     kPng.substr(kPng.find("eXIf") - 4, kPng.find("IDAT") - kPng.find("eXIf")),
                 {3, 2}}),
    [](const auto& info) { return test::sentenceName(info.param.sentence); });

TEST(WebPOrientation, BehindTheHeadIsFetchedWhereTheFileGoesOn) {
    const std::string file = dataFile("webp-6.webp");
    const std::size_t exif = file.find("EXIF");
    ASSERT_NE(exif, std::string::npos);
    const std::string_view head = std::string_view(file).substr(0, exif - 1);
    std::size_t asked = 0;
    const ImageBytesAt more = [&](std::uint64_t offset, std::size_t size) {
        ++asked;
        return offset < file.size() ? file.substr(offset, size) : std::string();
    };
    EXPECT_EQ(readImageSize(head), (ImageSize{3, 2}));
    EXPECT_EQ(readImageSize(head, more), (ImageSize{2, 3}));
    EXPECT_EQ(asked, 1u);
    const ImageBytesAt nothing = [](std::uint64_t, std::size_t) { return std::string(); };
    EXPECT_EQ(readImageSize(head, nothing), (ImageSize{3, 2}));
}

} // namespace
} // namespace tabulon
