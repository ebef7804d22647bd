// Pictures made to take a decoder's time or memory, each small: the list
// gives each its own entry or leaves it out with a warning, within the
// decoders' bounds, and goes on.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <sys/resource.h>

#include "support/limited_process.h"
#include "support/made_pictures.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

std::string be(std::uint32_t v, int count) {
    std::string bytes = test::le(v, count);
    return std::string(bytes.rbegin(), bytes.rend());
}

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

    const auto start = std::chrono::steady_clock::now();
    const test::ProcessResult r = test::runLimited(
        TABULON_CLI,
        {"-j", "2", "--no-comments", "--top=", "--bottom=", "--new-row=", "--end-entry=;", "--entry",
         "{{THUMBWIDTH(32)}} {{CAPTION}}", "screen.gif", "segments.jpg", "good.png"},
        dir.path().string(), {std::chrono::seconds(120)});
    // The time bound of one picture, and the start of the decoders.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with("20 ;")) << r.out;
    for (const std::string& name : {"screen.gif"s, "segments.jpg"s}) {
        const bool listed = r.out.starts_with("32 ;") && name == "screen.gif";
        const bool named = r.err.find("left out " + name + ": ") != std::string::npos;
        EXPECT_TRUE(listed || named) << name << "\n" << r.out << "\n" << r.err;
    }
    // No process of the run, the decoders included, went past a decoder's memory bound.
    rusage used{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &used), 0);
    EXPECT_LT(used.ru_maxrss, 1L << 20); // KiB
}

} // namespace
} // namespace tabulon
