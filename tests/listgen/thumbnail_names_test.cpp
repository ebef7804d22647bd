#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listgen/thumbnail_folder.h"
#include "listgen/thumbnail_leftovers.h"
#include "listgen/thumbnails.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

// The whole name, so that pictures sharing a base name never share a thumbnail.
TEST(ThumbnailNames, ThePicturesOwnFormatWhereBrowsersShowItJpegForOtherPhotosElsePng) {
    struct Case {
        const char* picture;
        const char* format;
        const char* thumbnail;
    };
    const Case cases[] = {
        {"a.JPG", "same", "a.JPG-240.JPG"},           {"a.webp", "same", "a.webp-240.webp"},
        {"scan.tif", "same", "scan.tif-240.jpg"},     {"scan.TIFF", "same", "scan.TIFF-240.jpg"},
        {"IMG_1.HEIC", "same", "IMG_1.HEIC-240.jpg"}, {"p.heif", "same", "p.heif-240.jpg"},
        {"p.hif", "same", "p.hif-240.jpg"},           {"badge.gif", "same", "badge.gif-240.png"},
        {"icon.bmp", "same", "icon.bmp-240.png"},     {"IMG_1.HEIC", "webp", "IMG_1.HEIC-240.webp"},
        {"badge.png", "jpg", "badge.png-240.jpg"},    {"badge.", "same", "badge.-240.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(thumbnailName(c.picture, 240, c.format), c.thumbnail) << c.picture << " " << c.format;
}

TEST(ThumbnailNames, ATiffThumbnailOfAnOlderRunIsALeftoverEvenBesideItsPicture) {
    test::TempDir dir;
    ASSERT_TRUE(makeThumbnailFolder(dir / "thumbs").ok());
    dir.write("scan.tif", "x");
    for (const char* thumb : {"scan.tif-240.tif", "scan.tif-240.jpg", "gone.png-240.png"})
        dir.write(std::string("thumbs/") + thumb, "x");
    EXPECT_EQ(goneThumbnails(dir / "thumbs"),
              (std::vector<std::string>{"gone.png-240.png", "scan.tif-240.tif"}));
}

} // namespace
} // namespace tabulon
