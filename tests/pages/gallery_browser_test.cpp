#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/made_pictures.h"
#include "support/preset_names.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

// A 24-bit bitmap, which libvips cannot write.
std::string bitmap(int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t size = static_cast<std::uint32_t>(stride * height);
    return "BM" + test::le(54 + size, 4) + test::le(0, 4) + test::le(54, 4) + test::le(40, 4) +
           test::le(width, 4) + test::le(height, 4) + test::le(1, 2) + test::le(24, 2) + test::le(0, 4) +
           test::le(size, 4) + test::le(2835, 4) + test::le(2835, 4) + test::le(0, 8) +
           std::string(size, '\x60');
}

// A photo as a camera tags it: the day taken and a caption in its EXIF.
bool makePhoto(const std::string& path, const char* taken, const char* caption) {
    const test::Image photo = test::blackPicture(400, 300);
    if (!photo)
        return false;
    vips_image_set_string(photo.get(), "exif-ifd2-DateTimeOriginal", taken);
    vips_image_set_string(photo.get(), "exif-ifd0-ImageDescription", caption);
    return vips_image_write_to_file(photo.get(), path.c_str(), nullptr) == 0;
}

// Pictures of every kind a gallery takes, in four folders on three levels,
// each holding one that every gallery takes, under names that need quoting in
// a page and in an address.
constexpr int kFolders = 4;

void makePictures(const test::TempDir& dir) {
    const fs::path site = dir.path() / "site";
    for (const char* folder : {"Sea & sky/Night #2", "Caf\xC3\xA9 \xC3\x89t\xC3\xA9"})
        fs::create_directories(site / folder);
    const auto path = [&](const char* name) { return (site / name).string(); };
    EXPECT_TRUE(makePhoto(path("Tom & Ann.jpg"), "2021:05:06 07:08:09", "Harbour at dawn"));
    EXPECT_TRUE(makePhoto(path("beach.JPEG"), "2019:08:01 12:00:00", "Beach <b>"));
    for (const char* name : {"a b.png", "#1.gif", "Sea & sky/wave.webp", "Sea & sky/scan 100%.tif",
                             "Sea & sky/Night #2/moon.png", "Caf\xC3\xA9 \xC3\x89t\xC3\xA9/cr\xC3\xA8me.png"})
        EXPECT_TRUE(test::makePicture(path(name), 400, 300)) << name << ": " << vips_error_buffer();
    if (!test::makePicture(path("Sea & sky/Night #2/stars.heic"), 300, 400))
        vips_error_clear(); // a libvips without a HEVC encoder
    dir.write("site/Sea & sky/Night #2/old.bmp", bitmap(300, 200));
}

TEST(Browser, EveryGalleryPageWorksForAVisitorInChromium) {
    test::TempDir dir;
    makePictures(dir);
    const std::string site = dir / "site";

    // The galleries are the presets whose page shows pictures; each page is
    // made from outside the pictures' folder into it, and browsed once that
    // folder is moved elsewhere, as a site is published: a link to where the
    // pictures were made finds nothing.
    std::vector<std::string> pages;
    for (const std::string& preset : test::presetNames()) {
        const std::string page = "site/" + preset + ".html";
        const test::ProcessResult made = test::runProcess(
            TABULON_CLI, {"--preset", preset, "--page", "-r", "-o", page, "site"}, {}, dir.path().string());
        ASSERT_EQ(made.exitCode, 0) << preset << ": " << made.err;
        if (test::readAll(dir / page).find("<img") != std::string::npos)
            pages.push_back(dir / ("published/" + preset + ".html"));
        else
            fs::remove(dir / page);
    }
    ASSERT_FALSE(pages.empty()) << "no preset makes a page with pictures";
    fs::rename(site, dir / "published");

    std::vector<std::string> args{BROWSE_GALLERY, CHROMEDRIVER, CHROMIUM, dir / "profile",
                                  std::to_string(kFolders)};
    args.insert(args.end(), pages.begin(), pages.end());
    const test::ProcessResult browsed = test::runProcess(BROWSER_PYTHON, args);
    EXPECT_EQ(browsed.exitCode, 0) << browsed.out << browsed.err;
}

} // namespace
} // namespace tabulon
