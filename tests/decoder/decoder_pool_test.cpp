// Pictures read through decoder processes: a decoder that dies, hangs, runs
// out of memory or answers nonsense costs only that picture's entry, with one
// warning, and the list goes on with a fresh one.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/template_set.h"
#include "listgen/list_assembly.h"
#include "listgen/media.h"
#include "listgen/sink.h"
#include "media/seed_pictures.h"
#include "support/made_pictures.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(DecoderPool, APictureThatTakesItsDecoderDownCostsOnlyItsOwnEntryOrValues) {
    test::TempDir dir;
    std::string selection = dir.path().string();
    for (const auto& [name, bytes] :
         std::vector<std::pair<std::string, std::string>>{{"a.jpg", "fine"},
                                                          {"crash.jpg", "CRASH"},
                                                          {"b.jpg", "fine"},
                                                          {"hang.jpg", "HANG"},
                                                          {"nonsense.jpg", "NONSENSE"},
                                                          {"c.jpg", "fine"},
                                                          {"trickle.jpg", "TRICKLE"}})
        selection += '\0' + fs::path(dir.write(name, bytes)).filename().string();
    struct Run {
        unsigned workers;
        std::string entry;
        std::string out;
        std::string warning; // before each picture's name
    };
    const std::string fine = "[2001-02-032001-02-03];";
    for (const Run& run :
         {Run{1, "{{THUMBWIDTH(8)}} {{TAKEN}}", "1 2001-02-03;1 2001-02-03;1 2001-02-03;", "left out "},
          Run{3, "{{THUMBWIDTH(8)}} {{TAKEN}}", "1 2001-02-03;1 2001-02-03;1 2001-02-03;", "left out "},
          // Metadata alone: the entry stands, and the picture is named once for both values.
          Run{1, "[{{CAPTION}}{{META(Exif.Image.Make)}}]", fine + "[];" + fine + "[];[];" + fine + "[];",
              ""}}) {
        SCOPED_TRACE(run.entry + ", " + std::to_string(run.workers) + " workers");
        Media media(DecoderLimits{.workers = run.workers, .time = std::chrono::seconds(1)},
                    TABULON_CRASHING_WORKER);
        ASSERT_TRUE(media.find().ok());
        ASSERT_TRUE(media.load().ok());
        TemplateSet set; // nothing around the entries
        set.addComments = kUnchecked;
        set.newEntry = run.entry;
        set.endEntry = ";";
        StringSink sink;
        std::vector<std::string> warnings;
        const auto warn = [&warnings](const std::string& warning) { warnings.push_back(warning); };
        const auto start = std::chrono::steady_clock::now();
        generateList(set, 1, selection, sink,
                     {.media = MediaUse{media, ThumbnailRules{}, run.workers, warn}});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(sink.take(), run.out);
        const std::string d = run.warning + dir.path().string() + "/";
        EXPECT_EQ(warnings,
                  (std::vector<std::string>{
                      d + "crash.jpg: could not be read safely: the decoder crashed",
                      d + "hang.jpg: could not be read safely: the decoder took longer than 1 s",
                      d + "nonsense.jpg: could not be read safely: the decoder answered nonsense",
                      d + "trickle.jpg: could not be read safely: the decoder took longer than 1 s"}));
    }
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

TEST(DecoderPool, EveryPictureTypeAndTheSavedPictureInputsReadThroughTheSandboxedDecoder) {
    Media media(DecoderLimits{.workers = 1});
    ASSERT_TRUE(media.find().ok());
    ASSERT_TRUE(media.load().ok());
    test::TempDir dir;
    for (const std::string& name : test::seedPictures()) {
        if (name.ends_with(".svg")) // drawn by the browser: never decoded
            continue;
        EXPECT_TRUE(media.makeThumbnail(test::kSeedFolder / name, dir / (name + ".png"), 32).ok()) << name;
    }
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
