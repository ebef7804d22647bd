// Pictures made to take a decoder's time or memory, all but one small: the list
// gives each its own entry or leaves it out with a warning, within the
// decoders' bounds, and goes on.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <sys/resource.h>
#include <zlib.h>

#include "support/limited_process.h"
#include "support/made_pictures.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using test::be;

TEST(HostilePictures, EachCostsAtMostItsOwnEntryWithinTheBounds) {
    test::TempDir dir;
    // 35 bytes that declare a frame of 14000 x 14000 pixels.
    dir.write("screen.gif", "GIF89a"s + test::le(14000, 2) + test::le(14000, 2) + "\x80\0\0"s +
                                "\0\0\0\xFF\xFF\xFF"s + "\x2C"s + test::le(0, 4) + test::le(14000, 2) +
                                test::le(14000, 2) + "\0\x02\x02\x4C\x01\0\x3B"s);
    ASSERT_TRUE(test::makePicture(dir / "small.jpg", 16, 16));
    ASSERT_TRUE(test::makePicture(dir / "good.png", 20, 10));
    // 100,000 empty Exif segments before a small photo's own: 1 MB.
    std::string photo = test::readAll(dir / "small.jpg");
    std::string segments;
    for (int i = 0; i < 100000; ++i)
        segments += "\xFF\xE1"s + be(8, 2) + "Exif\0\0"s;
    dir.write("segments.jpg", photo.substr(0, 2) + segments + photo.substr(2));

    // A 50 MB caption in the XMP packet of a small PNG, in a chunk of its own before the end.
    const std::string png = test::readAll(dir / "good.png");
    const std::string xmp = "XML:com.adobe.xmp"s + std::string(5, '\0') +
                            "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                            "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                            "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:description><rdf:Alt><rdf:li "
                            "xml:lang=\"x-default\">" +
                            std::string(50'000'000, 'A') +
                            "</rdf:li></rdf:Alt></dc:description></rdf:Description></rdf:RDF></x:xmpmeta>";
    const std::string chunk = "iTXt" + xmp;
    const auto crc =
        ::crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(chunk.size()));
    const std::size_t end = png.size() - 12; // the IEND chunk
    dir.write("caption.png", png.substr(0, end) + be(static_cast<std::uint32_t>(xmp.size()), 4) + chunk +
                                 be(static_cast<std::uint32_t>(crc), 4) + png.substr(end));

    const auto start = std::chrono::steady_clock::now();
    const test::ProcessResult r = test::runLimited(
        TABULON_CLI,
        {"-j", "2", "--no-comments", "--top=", "--bottom=", "--new-row=", "--end-entry=;", "--entry",
         "{{THUMBWIDTH(32)}} {{CAPTION}}", "screen.gif", "segments.jpg", "caption.png", "good.png"},
        dir.path().string(), {std::chrono::seconds(120)});
    // The time bound of one picture, and the start of the decoders.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string shown = r.out.substr(0, 200);
    EXPECT_TRUE(r.out.ends_with("20 ;")) << shown;
    // Each listed with its thumbnail (and the caption whole), or named.
    for (const auto& [name, entry] :
         {std::pair("screen.gif"s, "32 ;"s), {"caption.png"s, "20 " + std::string(50'000'000, 'A') + ";"}}) {
        const bool listed = r.out.find(entry) != std::string::npos;
        const bool named = r.err.find(name + ": ") != std::string::npos;
        EXPECT_TRUE(listed || named) << name << "\n" << shown << "\n" << r.err;
    }
    // No process of the run, the decoders included, went past a decoder's memory bound.
    rusage used{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &used), 0);
    EXPECT_LT(used.ru_maxrss, 1L << 20); // KiB
}

} // namespace
} // namespace tabulon
