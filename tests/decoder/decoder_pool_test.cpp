// Pictures read through decoder processes: a decoder that dies, hangs, runs
// out of memory or answers nonsense costs only that picture's entry, with one
// warning, and the list goes on with a fresh one; its bounds are set.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/template_set.h"
#include "listgen/list_assembly.h"
#include "listgen/media.h"
#include "listgen/sink.h"
#include "support/made_pictures.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Listed {
    std::string out;
    std::vector<std::string> warnings;
};

Listed list(const Media& media, const std::string& entry, const std::string& selection, unsigned workers) {
    TemplateSet set; // nothing around the entries
    set.addComments = kUnchecked;
    set.newEntry = entry;
    set.endEntry = ";";
    StringSink sink;
    Listed listed;
    const auto warn = [&listed](const std::string& warning) { listed.warnings.push_back(warning); };
    generateList(set, 1, selection, sink, MediaUse{media, ThumbnailRules{}, workers, warn});
    listed.out = sink.take();
    return listed;
}

TEST(DecoderPool, APictureThatTakesItsDecoderDownCostsOnlyItsOwnEntry) {
    test::TempDir dir;
    std::string selection = dir.path().string();
    for (const auto& [name, bytes] :
         std::vector<std::pair<std::string, std::string>>{{"a.png", "fine"},
                                                          {"crash.png", "CRASH"},
                                                          {"b.png", "fine"},
                                                          {"hang.png", "HANG"},
                                                          {"hog.png", "HOG"},
                                                          {"nonsense.png", "NONSENSE"},
                                                          {"c.png", "fine"}})
        selection += '\0' + fs::path(dir.write(name, bytes)).filename().string();
    for (const unsigned workers : {1U, 3U}) {
        Media media(
            DecoderLimits{.workers = workers, .time = std::chrono::seconds(1), .memory = 300ULL << 20},
            TABULON_CRASHING_WORKER);
        ASSERT_TRUE(media.find().ok());
        ASSERT_TRUE(media.load().ok());
        const auto start = std::chrono::steady_clock::now();
        const Listed listed = list(media, "{{THUMBWIDTH(8)}} {{TAKEN}}", selection, workers);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(listed.out, "1 2001-02-03;1 2001-02-03;1 2001-02-03;");
        const std::string d = dir.path().string() + "/";
        EXPECT_EQ(
            listed.warnings,
            (std::vector<std::string>{
                "left out " + d + "crash.png: could not be read safely: the decoder crashed",
                "left out " + d + "hang.png: could not be read safely: the decoder took longer than 1 s",
                "left out " + d + "hog.png: could not be read safely: the decoder needed more than 300 MiB",
                "left out " + d + "nonsense.png: could not be read safely: the decoder answered nonsense"}))
            << workers << " workers";
    }
}

TEST(DecoderPool, MetadataThatTakesItsDecoderDownIsNamedOnceAndTheEntryStands) {
    test::TempDir dir;
    const std::string crash = dir.write("crash.jpg", "CRASH");
    Media media(DecoderLimits{}, TABULON_CRASHING_WORKER);
    ASSERT_TRUE(media.find().ok());
    ASSERT_TRUE(media.load().ok());
    const std::string selection = dir.path().string() + '\0' + "crash.jpg" + '\0' + "a.jpg";
    dir.write("a.jpg", "fine");
    const Listed listed = list(media, "[{{CAPTION}}{{META(Exif.Image.Make)}}]", selection, 1);
    EXPECT_EQ(listed.out, "[];[2001-02-032001-02-03];");
    EXPECT_EQ(listed.warnings,
              std::vector<std::string>{crash + ": could not be read safely: the decoder crashed"});
}

TEST(DecoderPool, EachDecoderRunsUnderItsMemoryBound) {
    test::TempDir dir;
    const std::string picture = dir.write("limit.jpg", "LIMIT");
    Media media(DecoderLimits{.memory = 345ULL << 20}, TABULON_CRASHING_WORKER);
    ASSERT_TRUE(media.find().ok());
    ASSERT_TRUE(media.load().ok());
    EXPECT_EQ(Media::Metadata(media, picture).caption(), "345");
}

TEST(DecoderPool, APictureThatNeedsMoreThanTheMemoryBoundIsNamedForItAndTheNextIsRead) {
    test::TempDir dir;
    // 35 bytes that declare a frame of 14000 x 14000 pixels: 784 MB to decode.
    const std::string gif =
        dir.write("screen.gif", "GIF89a"s + "\xB0\x36\xB0\x36\x80\0\0"s + "\0\0\0\xFF\xFF\xFF"s + "\x2C"s +
                                    std::string(4, '\0') + "\xB0\x36\xB0\x36"s + "\0\x02\x02\x4C\x01\0\x3B"s);
    Media media(DecoderLimits{.memory = 400ULL << 20});
    ASSERT_TRUE(media.find().ok());
    ASSERT_TRUE(media.load().ok());
    const Result<Media::Made, Media::ThumbnailError> made = media.makeThumbnail(gif, dir / "screen.png", 32);
    ASSERT_FALSE(made.ok());
    EXPECT_EQ(made.error().reason, "could not be read safely: the decoder needed more than 400 MiB");
    EXPECT_TRUE(made.error().unsafe);
    ASSERT_TRUE(test::makePicture(dir / "good.png", 20, 10));
    EXPECT_TRUE(media.makeThumbnail(dir / "good.png", dir / "next.png", 32).ok());
}

TEST(DecoderPool, TheSavedPictureInputsReadThroughTheDecoderWithoutHarmingIt) {
    Media media(DecoderLimits{.workers = 1});
    ASSERT_TRUE(media.find().ok());
    ASSERT_TRUE(media.load().ok());
    test::TempDir dir;
    for (const auto& input : fs::directory_iterator(TABULON_IMAGE_CORPUS)) {
        const std::string path = input.path().string();
        const Result<Media::Made, Media::ThumbnailError> made =
            media.makeThumbnail(path, dir / (input.path().filename().string() + ".png"), 32);
        EXPECT_TRUE(made.ok() || !made.error().unsafe) << path << ": " << made.error().reason;
        (void)media.decodedSize(path);
        const Media::Metadata meta(media, path);
        (void)meta.taken();
        (void)meta.key("Exif.Image.Orientation");
        EXPECT_EQ(meta.failure(), "") << path;
    }
}

} // namespace
} // namespace tabulon
