// tabulon-cli's thumbnails and photo metadata, on pictures the tests make
// with libvips and tag with Exiv2.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <utime.h>

#include <exiv2/exiv2.hpp>
#include <vips/vips.h>

#include "support/made_pictures.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "tabulon/version.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class Thumbnails : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(test::startVips());
        Exiv2::XmpParser::initialize();
    }

    // A grey picture of `width` x `height`, its format from the name's extension.
    std::string picture(const std::string& name, int width, int height) const {
        const std::string path = dir / name;
        EXPECT_TRUE(test::makePicture(path, width, height)) << path;
        return path;
    }

    // Sets tags ("Exif.Image.Orientation", "6") as `exiv2 -M set` does.
    static void tag(const std::string& path, const std::vector<std::pair<std::string, std::string>>& tags) {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        for (const auto& [key, value] : tags) {
            if (key.starts_with("Exif."))
                image->exifData()[key] = value;
            else if (key.starts_with("Iptc."))
                image->iptcData()[key] = value;
            else
                image->xmpData()[key] = value;
        }
        image->writeMetadata();
    }

    static void setDay(const std::string& path, int year, int month, int day) {
        std::tm when{};
        when.tm_year = year - 1900;
        when.tm_mon = month - 1;
        when.tm_mday = day;
        when.tm_hour = 12;
        const utimbuf times{std::mktime(&when), std::mktime(&when)};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    test::ProcessResult run(const std::string& entry, std::vector<std::string> args,
                            const std::string& program = TABULON_CLI) const {
        args.insert(args.begin(), {"--no-comments", "--top=", "--bottom=", "-w", "1000", "--entry", entry,
                                   "--new-row=", "--end-entry=;"});
        // Names relative to the test's folder, as a user in it would give them.
        return test::runProcess(program, args, {}, dir.path().string());
    }

    test::TempDir dir;
};

TEST_F(Thumbnails, EachOrientationGivesAnUprightThumbnailOfTheDisplayedSize) {
    std::vector<std::string> names;
    std::string expected;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string name = "o" + std::to_string(orientation) + ".jpg";
        tag(picture(name, 400, 200), {{"Exif.Image.Orientation", std::to_string(orientation)}});
        names.push_back(name);
        const bool turned = orientation >= 5;
        expected += turned ? "200x400 50x100;" : "400x200 100x50;";
    }
    const test::ProcessResult r = run("{{WIDTH}}x{{HEIGHT}} {{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    // The file is as the list says, upright and without the picture's tags.
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string thumb = dir / ("thumbs/o" + std::to_string(orientation) + "-100.jpg");
        VipsImage* image = vips_image_new_from_file(thumb.c_str(), nullptr);
        ASSERT_NE(image, nullptr) << thumb;
        EXPECT_EQ(vips_image_get_width(image), orientation >= 5 ? 50 : 100) << thumb;
        g_object_unref(image);
        auto tags = Exiv2::ImageFactory::open(thumb);
        tags->readMetadata();
        const auto turn = tags->exifData().findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        EXPECT_TRUE(turn == tags->exifData().end() || turn->toLong() == 1) << thumb;
    }
}

TEST_F(Thumbnails, APictureWithAColourProfileBecomesSrgbAndKeepsAProfile) {
    VipsImage* grey = nullptr;
    VipsImage* cmyk = nullptr;
    ASSERT_EQ(vips_black(&grey, 64, 64, "bands", 3, nullptr), 0);
    ASSERT_EQ(vips_icc_export(grey, &cmyk, "output_profile", "cmyk", nullptr), 0);
    ASSERT_EQ(vips_image_write_to_file(cmyk, (dir / "print.jpg").c_str(), nullptr), 0);
    g_object_unref(cmyk);
    g_object_unref(grey);
    ASSERT_EQ(run("{{THUMB(32)}}", {"print.jpg"}).exitCode, 0);
    VipsImage* thumb = vips_image_new_from_file((dir / "thumbs/print-32.jpg").c_str(), nullptr);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(vips_image_get_bands(thumb), 3);
    EXPECT_NE(vips_image_get_typeof(thumb, VIPS_META_ICC_NAME), 0U);
    g_object_unref(thumb);
}

TEST_F(Thumbnails, NamesFollowTheFileTheFolderAndTheFormat) {
    fs::create_directory(dir.path() / "sub");
    picture("sub/a b.jpg", 300, 300);
    picture("c.gif", 300, 150);
    picture("d.png", 80, 40);
    std::ofstream(dir / "e.svg") << R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="20"/>)";
    const std::string entry = "{{THUMB(100)}} {{THUMB(100):url}} {{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}}";
    test::ProcessResult r = run(entry, {"sub/a b.jpg", "c.gif", "d.png", "e.svg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Never enlarged; GIF becomes PNG; an SVG stands for itself.
    EXPECT_EQ(r.out, "sub/thumbs/a b-100.jpg sub/thumbs/a%20b-100.jpg 100x100;"
                     "thumbs/c-100.png thumbs/c-100.png 100x50;"
                     "thumbs/d-100.png thumbs/d-100.png 80x40;"
                     "e.svg e.svg 30x20;");
    EXPECT_FALSE(fs::exists(dir.path() / "thumbs/e-100.svg"));
    r = run("{{THUMB(50)}}", {"--thumb-dir", "small", "--thumb-format", "webp", "-j", "1", "d.png"});
    EXPECT_EQ(r.out, "small/d-50.webp;") << r.err;
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "small/d-50.webp"));
}

TEST_F(Thumbnails, TakenAndCaptionComeFromTheFirstTagPresent) {
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> tags;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"exif.jpg",
         {{"Exif.Photo.DateTimeOriginal", "2019:07:14 10:11:12"},
          {"Xmp.photoshop.DateCreated", "2001-01-01"},
          {"Xmp.dc.description", "lang=x-default Xmp <b>"},
          {"Iptc.Application2.Caption", "Iptc"},
          {"Exif.Image.ImageDescription", "Exif"},
          {"Exif.Image.Model", "Cam & Co"}},
         "2019-07-14|Xmp &lt;b&gt;|Cam &amp; Co"},
        {"xmp.jpg",
         {{"Xmp.photoshop.DateCreated", "2018-03-04T05:06:07"},
          {"Iptc.Application2.Caption", "Iptc"},
          {"Exif.Image.ImageDescription", "Exif"}},
         "2018-03-04|Iptc|"},
        {"desc.jpg",
         {{"Iptc.Application2.Caption", "   "}, {"Exif.Image.ImageDescription", "Exif   "}},
         "2020-01-02|Exif|"},
        {"unset.jpg", {{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"}}, "2020-01-02||"},
        {"none.png", {}, "2020-01-02||"},
    };
    std::vector<std::string> names;
    std::string expected;
    for (const Case& c : cases) {
        const std::string path = picture(c.name, 20, 10);
        if (!c.tags.empty())
            tag(path, c.tags);
        setDay(path, 2020, 1, 2);
        names.push_back(c.name);
        expected += c.expected + ";";
    }
    const test::ProcessResult r = run("{{TAKEN}}|{{CAPTION:html}}|{{META(Exif.Image.Model):html}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    // Printed as exiv2 -pa prints it; sorted by the day taken.
    EXPECT_EQ(run("{{META(Exif.Photo.DateTimeOriginal)}}", {"exif.jpg"}).out, "2019:07:14 10:11:12;");
    EXPECT_EQ(run("{{FILE}}", {"--sort", "taken", "none.png", "exif.jpg", "desc.jpg", "xmp.jpg"}).out,
              "xmp.jpg;exif.jpg;desc.jpg;none.png;");
}

TEST_F(Thumbnails, APictureThatCannotBeDecodedGetsNoThumbnailAndAWarning) {
    const std::string good = picture("good.jpg", 64, 48);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(dir / "cut.jpg", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(dir / "empty.jpg").close();
    // A header that claims 30000 x 30000 pixels: refused before anything is decoded.
    const std::size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    bytes.replace(frame + 5, 4, "\x75\x30\x75\x30");
    std::ofstream(dir / "bomb.jpg", std::ios::binary) << bytes;

    const auto start = std::chrono::steady_clock::now();
    const test::ProcessResult r = run("{{THUMB(32)}}{{THUMBWIDTH(32)}}",
                                      {"cut.jpg", "empty.jpg", "bomb.jpg", "missing.jpg", "good.jpg"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, ";;;;thumbs/good-32.jpg32;");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = r.err.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(r.err.substr(at, end - at));
    ASSERT_EQ(lines.size(), 4U) << r.err;
    EXPECT_TRUE(lines[0].starts_with("tabulon-cli: cannot make a thumbnail of cut.jpg: ")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("tabulon-cli: cannot make a thumbnail of empty.jpg: ")) << lines[1];
    EXPECT_EQ(lines[2],
              "tabulon-cli: cannot make a thumbnail of bomb.jpg: has 30000x30000 pixels, more than 200 "
              "million");
    EXPECT_EQ(lines[3], "tabulon-cli: cannot read missing.jpg: No such file or directory");
    EXPECT_EQ(fs::directory_iterator(dir.path() / "thumbs")->path().filename(), "good-32.jpg");
}

// Little-endian bytes.
std::string le(std::uint32_t v, int count) {
    std::string d;
    for (int i = 0; i < count; ++i)
        d.push_back(static_cast<char>(v >> (8 * i)));
    return d;
}

// A bitmap of one colour (BGR), stored bottom up: with the file header of a
// BMP, or as an icon holds it, its height doubled for the mask behind it.
std::string bitmap(int width, int height, const std::string& bgr, bool icon) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string row;
    for (int x = 0; x < width; ++x)
        row += bgr;
    row.resize(stride, '\0');
    std::string pixels;
    for (int y = 0; y < height; ++y)
        pixels += row;
    if (icon)
        pixels += std::string(static_cast<std::size_t>((width + 31) / 32 * 4 * height), '\0');
    const std::string header = le(40, 4) + le(width, 4) + le(icon ? 2 * height : height, 4) + le(1, 2) +
                               le(24, 2) + std::string(24, '\0');
    if (icon)
        return header + pixels;
    return "BM" + le(54 + pixels.size(), 4) + le(0, 4) + le(54, 4) + header + pixels;
}

TEST_F(Thumbnails, BitmapsAndIconsAreDecodedWithoutTheUntrustedLoaders) {
    std::ofstream(dir / "red.bmp", std::ios::binary) << bitmap(40, 20, "\0\0\xFF"s, false);
    // An icon whose largest image is a PNG, beside a small bitmap; named as something else.
    VipsImage* black = nullptr;
    ASSERT_EQ(vips_black(&black, 48, 32, "bands", 3, nullptr), 0);
    void* png = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(vips_image_write_to_buffer(black, ".png", &png, &size, nullptr), 0);
    g_object_unref(black);
    const std::string small = bitmap(16, 16, "\xFF\0\0"s, true);
    std::ofstream(dir / "icon.jpg", std::ios::binary)
        << le(0, 2) + le(1, 2) + le(2, 2) + "\x10\x10\0\0"s + le(1, 2) + le(24, 2) + le(small.size(), 4) +
               le(38, 4) + "\x30\x20\0\0"s + le(1, 2) + le(32, 2) + le(size, 4) + le(38 + small.size(), 4) +
               small + std::string(static_cast<const char*>(png), size);
    g_free(png);
    std::ofstream(dir / "cut.bmp", std::ios::binary) << bitmap(40, 20, "\0\0\xFF"s, false).substr(0, 500);

    const test::ProcessResult r =
        run("{{THUMB(100)}} {{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}} {{WIDTH}}x{{HEIGHT}}",
            {"red.bmp", "icon.jpg", "cut.bmp"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "thumbs/red-100.png 40x20 40x20;thumbs/icon-100.jpg 48x32 48x32; x 40x20;");
    EXPECT_EQ(r.err, "tabulon-cli: cannot make a thumbnail of cut.bmp: it is cut short\n");
    VipsImage* thumb = vips_image_new_from_file((dir / "thumbs/red-100.png").c_str(), nullptr);
    ASSERT_NE(thumb, nullptr);
    double* point = nullptr;
    int bands = 0;
    ASSERT_EQ(vips_getpoint(thumb, &point, &bands, 5, 5, nullptr), 0);
    EXPECT_EQ(std::vector<double>(point, point + bands), (std::vector<double>{255, 0, 0}));
    g_free(point);
    g_object_unref(thumb);
}

TEST_F(Thumbnails, TransparencyIsLaidOnWhiteOnlyWhereTheFormatHasNone) {
    // A transparent picture whose hidden colour is black.
    VipsImage* black = nullptr;
    VipsImage* clear = nullptr;
    ASSERT_EQ(vips_black(&black, 40, 20, "bands", 4, nullptr), 0);
    ASSERT_EQ(vips_copy(black, &clear, "interpretation", VIPS_INTERPRETATION_sRGB, nullptr), 0);
    ASSERT_EQ(vips_image_write_to_file(clear, (dir / "clear.png").c_str(), nullptr), 0);
    g_object_unref(clear);
    g_object_unref(black);
    struct Case {
        std::string format;
        int bands;
        double average; // of all bands
    };
    for (const Case& c : std::vector<Case>{{"jpg", 3, 255}, {"png", 4, 0}, {"webp", 4, 0}}) {
        const test::ProcessResult r = run("{{THUMB(20)}}", {"--thumb-format", c.format, "clear.png"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        VipsImage* thumb = vips_image_new_from_file((dir / ("thumbs/clear-20." + c.format)).c_str(), nullptr);
        ASSERT_NE(thumb, nullptr) << c.format;
        double average = -1;
        EXPECT_EQ(vips_avg(thumb, &average, nullptr), 0);
        EXPECT_EQ(vips_image_get_bands(thumb), c.bands) << c.format;
        EXPECT_NEAR(average, c.average, 2) << c.format;
        g_object_unref(thumb);
    }
}

TEST_F(Thumbnails, ACutShortPictureKeepsWhatCouldBeReadAndIsNamedInAWarning) {
    // Noise makes a large JPEG: its first 5,000 bytes hold a sliver of it.
    VipsImage* noise = nullptr;
    VipsImage* bytes = nullptr;
    ASSERT_EQ(vips_gaussnoise(&noise, 600, 400, "sigma", 80.0, nullptr), 0);
    ASSERT_EQ(vips_cast(noise, &bytes, VIPS_FORMAT_UCHAR, nullptr), 0);
    void* jpeg = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(vips_image_write_to_buffer(bytes, ".jpg", &jpeg, &size, "Q", 95, nullptr), 0);
    g_object_unref(bytes);
    g_object_unref(noise);
    ASSERT_GT(size, 100000U);
    std::ofstream(dir / "cut.jpg", std::ios::binary).write(static_cast<const char*>(jpeg), 5000);
    g_free(jpeg);

    const test::ProcessResult r =
        run("{{THUMB(60)}} {{THUMBWIDTH(60)}} {{THUMB(30)}}", {"-j", "1", "cut.jpg"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "thumbs/cut-60.jpg 60 thumbs/cut-30.jpg;");
    EXPECT_TRUE(r.err.starts_with(
        "tabulon-cli: cut.jpg is damaged or cut short, its thumbnail shows what could be read: "))
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST_F(Thumbnails, DecoderLibrariesAddNoLinesOfTheirOwn) {
    const std::string good = picture("good.avif", 64, 48);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Flipped bytes at the start of the coded picture: its decoder, not
    // libvips, complains about them on stderr.
    const std::size_t data = bytes.find("mdat");
    ASSERT_NE(data, std::string::npos);
    std::vector<std::string> names;
    for (std::size_t at = data + 4; at < data + 16 && at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(~damaged[at]);
        names.push_back("bad" + std::to_string(at - data) + ".avif");
        std::ofstream(dir / names.back(), std::ios::binary) << damaged;
    }
    const test::ProcessResult r = run("{{THUMB(32)}}", names);
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_FALSE(r.err.empty());
    for (std::size_t at = 0, end; (end = r.err.find('\n', at)) != std::string::npos; at = end + 1)
        EXPECT_TRUE(r.err.substr(at, end - at).starts_with("tabulon-cli: ")) << r.err.substr(at, end - at);
    EXPECT_TRUE(r.err.ends_with('\n'));
}

TEST_F(Thumbnails, AnUpToDateThumbnailIsReusedAndAnOlderOneRemade) {
    const std::string photo = picture("p.jpg", 200, 100);
    setDay(photo, 2020, 1, 2);
    ASSERT_EQ(run("{{THUMB(40)}}", {"p.jpg"}).exitCode, 0);
    const std::string thumb = dir / "thumbs/p-40.jpg";
    struct stat first {};
    ASSERT_EQ(::stat(thumb.c_str(), &first), 0);
    EXPECT_EQ(run("{{THUMBWIDTH(40)}}x{{THUMBHEIGHT(40)}}", {"p.jpg"}).out, "40x20;");
    struct stat second {};
    ASSERT_EQ(::stat(thumb.c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino);
    EXPECT_EQ(second.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
    // A thumbnail older than the picture is made again, under the same name.
    setDay(thumb, 2019, 1, 1);
    EXPECT_EQ(run("{{THUMBWIDTH(40)}}", {"p.jpg"}).out, "40;");
    ASSERT_EQ(::stat(thumb.c_str(), &second), 0);
    EXPECT_NE(second.st_ino, first.st_ino);
}

TEST_F(Thumbnails, WhatTabulonDidNotMakeIsNeverWrittenOver) {
    picture("p.jpg", 200, 100);
    fs::create_directory(dir.path() / "thumbs");
    const std::string out = dir / "list.html";
    // A file newer than the picture is taken as it is, whatever it holds.
    std::ofstream(dir / "thumbs/p-40.jpg") << "mine";
    test::ProcessResult r = run("{{THUMB(40)}}{{THUMBWIDTH(40)}}", {"p.jpg"});
    EXPECT_EQ(r.out, "thumbs/p-40.jpg;");
    std::ifstream kept(dir / "thumbs/p-40.jpg");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");
    // A link, a folder, or a file where the thumbnail folder would be: the list stops, unwritten.
    std::ofstream(dir / "elsewhere") << "theirs";
    fs::create_symlink(dir / "elsewhere", dir.path() / "thumbs/p-30.jpg");
    fs::create_directory(dir.path() / "thumbs/p-20.jpg");
    std::ofstream(dir / "notes") << "x";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {{"--entry", "{{THUMB(30)}}", "p.jpg"},
              "thumbs/p-30.jpg is in the way of a thumbnail and is not replaced: it is not a regular file"},
             {{"--entry", "{{THUMB(20)}}", "p.jpg"},
              "thumbs/p-20.jpg is in the way of a thumbnail and is not replaced: it is not a regular file"},
             {{"--thumb-dir", "notes", "--entry", "{{THUMB(20)}}", "p.jpg"},
              "cannot make the thumbnail folder notes: Not a directory"},
         }) {
        std::vector<std::string> args = {"-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        r = run("", args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "tabulon-cli: " + c.message + "\n");
        EXPECT_FALSE(fs::exists(out));
    }
    std::ifstream theirs(dir / "elsewhere");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(theirs), {}), "theirs");
    EXPECT_EQ(fs::directory_iterator(dir.path() / "thumbs/p-20.jpg"), fs::directory_iterator());
}

TEST_F(Thumbnails, BadThumbnailOptionsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--thumb-dir", "a/b"},
                                               {"--thumb-dir", ".."},
                                               {"--thumb-dir", ""},
                                               {"--thumb-format", "gif"},
                                               {"-j", "0"},
                                               {"-j", "2x"}}) {
        const test::ProcessResult r = run("{{FILE}}", args);
        EXPECT_EQ(r.exitCode, 2) << args[0] << " " << args[1];
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(Thumbnails, OnlyListsThatUseTheMediaModuleNeedIt) {
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    fs::copy_file(TABULON_CLI, bin / "tabulon-cli");
    const std::string cli = (bin / "tabulon-cli").string();
    picture("p.png", 20, 10);
    for (const auto& [entry, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"{{TAKEN}}", {"p.png"}},
             {"{{THUMB(5):url}}", {"p.png"}},
             {"{{FILE}}", {"--sort", "taken", "p.png"}}}) {
        const test::ProcessResult r = run(entry, args, cli);
        EXPECT_EQ(r.exitCode, 1) << entry;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("tabulon-cli: thumbnails and photo metadata need the media module: "))
            << r.err;
        EXPECT_NE(r.err.find("libtabulon-media.so: "), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.ends_with("No such file or directory\n")) << r.err;
    }
    EXPECT_EQ(run("{{FILE}} {{WIDTH}}", {"p.png"}, cli).out, "p.png 20;");
    EXPECT_FALSE(fs::exists(dir.path() / "thumbs"));

    // Thumbnails that are all up to date are listed without loading it; one
    // to make stops the list, with nothing written.
    std::ofstream(bin / "libtabulon-media.so") << "not a library";
    ASSERT_EQ(run("{{THUMB(5)}}", {"p.png"}).exitCode, 0);
    EXPECT_EQ(run("{{THUMB(5)}}{{THUMBWIDTH(5)}}", {"p.png"}, cli).out, "thumbs/p-5.png5;");
    const std::string out = dir / "list.html";
    const test::ProcessResult r = run("{{THUMB(6)}}", {"-o", out, "p.png"}, cli);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.starts_with("tabulon-cli: thumbnails and photo metadata need the media module: "))
        << r.err;
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace tabulon
