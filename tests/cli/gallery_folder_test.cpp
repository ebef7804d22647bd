#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

// A photo folder as web authors have them, through the README's gallery command.
namespace tabulon {
namespace {

namespace fs = std::filesystem;

// Every file under `folder` with its modification time.
std::map<std::string, std::int64_t> filesAndTimes(const fs::path& folder) {
    std::map<std::string, std::int64_t> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found[entry.path().string()] = entry.last_write_time().time_since_epoch().count();
    return found;
}

TEST(GalleryFolder, TheThumbnailGalleryMadeAgainIsTheSamePageAndMakesNothingNew) {
    test::TempDir dir;
    const std::pair<std::string, const std::string*> files[] = {
        {"a b.png", &test::kPng},       {"Tom & Ann.JPG", &test::kJpeg},
        {"#1 50%.gif", &test::kGif},    {"\"q\" 'r'.png", &test::kPng},
        {"<b>x&amp;.png", &test::kPng}, {"caf\xC3\xA9 \xC3\x89t\xC3\xA9.jpeg", &test::kJpeg},
        {"x:y.png", &test::kPng},       {"a\\b.png", &test::kPng},
        {"icon.svg", &test::kIconSvg},  {"logo.SVG", &test::kSvg},
        {"sub/img10.png", &test::kPng}, {"sub/img2.png", &test::kPng}};
    fs::create_directories(dir / "photos/sub");
    for (const auto& [name, bytes] : files)
        dir.write("photos/" + name, *bytes);
    // The user's own folder called thumbs is theirs: listed like any other.
    fs::create_directories(dir / "photos/trip/thumbs");
    dir.write("photos/trip/thumbs/mine.png", test::kPng);
    const std::vector<std::string> command = {"--preset", "thumbnail-gallery", "--page", "-r", dir / "photos",
                                              "-o",       dir / "g.html"};
    test::ProcessResult r = test::runProcess(TABULON_CLI, command);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string page = test::readAll(dir / "g.html");
    EXPECT_NE(page.find("trip/thumbs/mine.png"), std::string::npos);
    EXPECT_EQ(page.find("data-original=\"" + dir / "photos/thumbs/"), std::string::npos);
    const auto made = filesAndTimes(dir / "photos");
    EXPECT_TRUE(made.contains(dir / "photos/thumbs/CACHEDIR.TAG"));
    EXPECT_FALSE(made.contains(dir / "photos/trip/thumbs/CACHEDIR.TAG"));

    r = test::runProcess(TABULON_CLI, command);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::readAll(dir / "g.html"), page);
    EXPECT_EQ(filesAndTimes(dir / "photos"), made);
}

} // namespace
} // namespace tabulon
