// tabulon-cli's thumbnails and photo metadata, on pictures the tests make
// with libvips and tag with Exiv2, and on the seed pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <exiv2/exiv2.hpp>
#include <vips/vips.h>

#include "seed_pictures.h"
#include "support/gone_process.h"
#include "support/limited_process.h"
#include "support/made_pictures.h"
#include "support/resource_limit.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::le;

// Longer than any list here takes: past it, a run is taken for a hang.
const test::Limits kUsual{std::chrono::seconds(60)};

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

    // At noon, which is that day wherever the test runs.
    static void setDay(const std::string& path, int year, unsigned month, unsigned day) {
        using namespace std::chrono;
        const sys_days date = std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day);
        fs::last_write_time(path, file_clock::from_sys(sys_seconds(date) + hours(12)));
    }

    // The entries alone, each ended by ';', in the test's folder (names relative
    // to it, as a user in it would give them), within the time and address space given.
    test::ProcessResult run(const std::string& entry, std::vector<std::string> args,
                            test::Limits limits = kUsual, const std::string& program = TABULON_CLI) const {
        args.insert(args.begin(), {"-w", "1000", "--no-comments", "--top=", "--bottom=", "--new-row=",
                                   "--new-folder=", "--end-entry=;", "--entry", entry});
        return test::runLimited(program, args, dir.path().string(), limits);
    }

    // The names in `folder`.
    static std::set<std::string> names(const fs::path& folder) {
        std::set<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename().string());
        return found;
    }

    test::TempDir dir;
};

TEST_F(Thumbnails, EachOrientationGivesAnUprightThumbnailOfTheDisplayedSize) {
    std::vector<std::string> names;
    std::string expected;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        names.push_back("o" + std::to_string(orientation) + ".jpg");
        tag(picture(names.back(), 400, 200), {{"Exif.Image.Orientation", std::to_string(orientation)}});
        expected += orientation >= 5 ? "50x100;" : "100x50;";
    }
    const test::ProcessResult r = run("{{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    // The size given is the file's own; the file is upright and without the
    // picture's orientation, which a browser would apply once more.
    for (const std::string& name : names) {
        const test::Image thumb = test::openPicture(dir / ("thumbs/" + name + "-100.jpg"));
        ASSERT_NE(thumb, nullptr) << name;
        int turn = 1; // none is upright
        (void)vips_image_get_int(thumb.get(), VIPS_META_ORIENTATION, &turn);
        EXPECT_EQ(turn, 1) << name;
    }
}

TEST_F(Thumbnails, APictureWithAColourProfileBecomesSrgbAndKeepsAProfile) {
    VipsImage* cmyk = nullptr;
    ASSERT_EQ(vips_icc_export(test::blackPicture(64, 64).get(), &cmyk, "output_profile", "cmyk", nullptr), 0);
    ASSERT_EQ(vips_image_write_to_file(test::Image(cmyk).get(), (dir / "print.jpg").c_str(), nullptr), 0);
    ASSERT_EQ(run("{{THUMB(32)}}", {"print.jpg"}).exitCode, 0);
    const test::Image thumb = test::openPicture(dir / "thumbs/print.jpg-32.jpg");
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(vips_image_get_bands(thumb.get()), 3);
    EXPECT_NE(vips_image_get_typeof(thumb.get(), VIPS_META_ICC_NAME), 0U);
}

TEST_F(Thumbnails, NamesFollowTheWholeFileNameTheFolderAndTheFormat) {
    fs::create_directory(dir.path() / "sub");
    picture("sub/a b.jpg", 300, 300);
    picture("d.png", 80, 40);
    std::ofstream(dir / "e.svg") << R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="20"/>)";
    const std::string entry = "{{THUMB(100)}} {{THUMB(100):url}} {{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}}";
    const test::ProcessResult r = run(entry, {"sub/a b.jpg", "d.png", "e.svg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Never enlarged; an SVG stands for itself.
    EXPECT_EQ(r.out, "sub/thumbs/a b.jpg-100.jpg sub/thumbs/a%20b.jpg-100.jpg 100x100;"
                     "thumbs/d.png-100.png thumbs/d.png-100.png 80x40;"
                     "e.svg e.svg 30x20;");
    EXPECT_FALSE(fs::exists(dir.path() / "thumbs/e.svg-100.svg"));
}

// The first tag present gives the day taken and the caption. What a picture
// says is checked on its way into the page: a day no calendar has is no day,
// and text becomes UTF-8.
TEST_F(Thumbnails, TakenAndCaptionComeFromTheFirstTagPresentAsRealDaysAndUtf8) {
    const std::string shot = "Exif.Photo.DateTimeOriginal";
    const std::string iptc = "Iptc.Application2.Caption";
    struct Tagged {
        std::string name;
        std::vector<std::pair<std::string, std::string>> tags;
        std::string expected; // its entry
    };
    const std::vector<Tagged> cases = {
        {"exif.jpg",
         {{shot, "2019:07:14 10:11:12"},
          {"Xmp.photoshop.DateCreated", "2001-01-01"},
          {"Xmp.dc.description", "lang=x-default Xmp <b>"},
          {iptc, "Iptc"},
          {"Exif.Image.ImageDescription", "Exif"},
          {"Exif.Image.Model", "Cam & Co"}},
         "2019-07-14|Xmp &lt;b&gt;|Iptc|Cam &amp; Co"},
        {"xmp.jpg",
         {{"Xmp.photoshop.DateCreated", "2018-03-04T05:06:07"},
          {iptc, "Iptc"},
          {"Exif.Image.ImageDescription", "Exif"}},
         "2018-03-04|Iptc|Iptc|"},
        {"desc.jpg", {{iptc, "   "}, {"Exif.Image.ImageDescription", "Exif   "}}, "2020-01-02|Exif|   |"},
        {"unset.jpg", {{shot, "0000:00:00 00:00:00"}}, "2020-01-02|||"},
        {"none.png", {}, "2020-01-02|||"},
        {"month13.jpg", {{shot, "2021:13:45 10:00:00"}}, "2020-01-02|||"},
        {"feb30.jpg", {{shot, "2021:02:30 10:00:00"}}, "2020-01-02|||"},
        {"feb29.jpg", {{shot, "2019:02:29 10:00:00"}}, "2020-01-02|||"},
        {"century.jpg", {{shot, "1900:02:29 10:00:00"}}, "2020-01-02|||"},
        {"leap.jpg", {{shot, "2000:02:29 10:00:00"}}, "2000-02-29|||"},
        // IPTC without a character set, as cameras and exiftool write Latin-1.
        {"latin1.jpg", {{iptc, "caf\xE9 \x80"}}, "2020-01-02|café €|café €|"},
        {"undeclared.jpg", {{iptc, "caf\xC3\xA9"}}, "2020-01-02|café|café|"},
        {"declared.jpg",
         {{"Iptc.Envelope.CharacterSet", "\x1b%G"}, {iptc, "caf\xC3\xA9 \xE9"}},
         "2020-01-02|café \uFFFD|café \uFFFD|"},
        {"zero.jpg",
         {{"Iptc.Envelope.CharacterSet", "\x1b%G"}, {iptc, std::string("a\0<b>", 5)}},
         "2020-01-02|a&lt;b&gt;|a<b>|"},
        {"ff.jpg", {{"Exif.Image.ImageDescription", "x\xFF<"}}, "2020-01-02|x\uFFFD&lt;||"},
    };
    std::vector<std::string> names;
    std::string expected;
    for (const Tagged& c : cases) {
        const std::string path = picture(c.name, 20, 10);
        tag(path, c.tags);
        setDay(path, 2020, 1, 2); // the day of an untagged picture
        names.push_back(c.name);
        expected += c.expected + ";";
    }
    const test::ProcessResult r =
        run("{{TAKEN}}|{{CAPTION:html}}|{{META(" + iptc + ")}}|{{META(Exif.Image.Model):html}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    // A link is made of the caption's UTF-8, not of the bytes in the picture.
    EXPECT_EQ(run("{{CAPTION:url}}", {"latin1.jpg"}).out, "caf%C3%A9%20%E2%82%AC;");
    // For alt attributes: the caption, else the base name.
    EXPECT_EQ(run("{{ALT:html}}", {"exif.jpg", "desc.jpg", "none.png"}).out, "Xmp &lt;b&gt;;Exif;none;");
}

// Tabulon reads HEIF pictures' metadata with Exiv2's BMFF reader; a damaged
// one, which Exiv2's QuickTime reader would spin on for minutes, has none.
TEST_F(Thumbnails, HeifPicturesGiveTheirMetadataAndDamagedOnesNoneAtOnce) {
    // As a phone makes them: libvips carries a JPEG's EXIF and XMP over.
    // 64 x 48 is more than one HEVC tile: a tiled HEIC.
    const std::string jpeg = picture("tagged.jpg", 64, 48);
    tag(jpeg, {{"Exif.Photo.DateTimeOriginal", "2019:07:14 10:11:12"},
               {"Exif.Image.Model", "Phone"},
               {"Xmp.dc.description", "lang=x-default Beach"}});
    const test::Image tagged = test::openPicture(jpeg);
    for (const std::string name : {"p.avif", "p.heic"})
        if (vips_image_write_to_file(tagged.get(), (dir / name).c_str(), nullptr) != 0)
            GTEST_SKIP() << "libheif cannot write " << name << " here: " << vips_error_buffer();
    // One size byte changed: the first box claims 16 MB.
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"p.avif", "bad.avif"}, {"p.avif", "holiday.jpg"}, {"p.heic", "bad.heic"}}) {
        std::string bytes = test::readAll(dir / from);
        bytes[0] = '\x01';
        dir.write(to, bytes);
    }
    // Bounded: on such a picture Exiv2's video reader ran for minutes.
    const test::Limits bounded{std::chrono::seconds(20)};
    const std::vector<std::string> names = {"p.avif", "p.heic", "bad.avif", "holiday.jpg", "bad.heic"};
    for (const std::string& name : names)
        setDay(dir / name, 2020, 1, 2);
    test::ProcessResult r = run("{{TAKEN}}|{{CAPTION}}|{{META(Exif.Image.Model)}}", names, bounded);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2019-07-14|Beach|Phone;2019-07-14|Beach|Phone;2020-01-02||;2020-01-02||;2020-01-02||;");
    r = run("{{FILE}}", {"--sort", "taken", "holiday.jpg", "p.heic"}, bounded);
    EXPECT_EQ(r.out, "p.heic;holiday.jpg;") << r.err;
    // A name is only ever a file's name, never an address Exiv2 would fetch.
    fs::create_directories(dir.path() / "http:/127.0.0.1:9");
    fs::copy_file(dir / "tagged.jpg", dir / "http:/127.0.0.1:9/p.jpg");
    EXPECT_EQ(run("{{TAKEN}}", {"http://127.0.0.1:9/p.jpg"}, bounded).out, "2019-07-14;");
}

// Any key `exiv2 -pa` prints can be asked for, those with an index, a path
// or a qualifier included.
TEST_F(Thumbnails, EveryKeyExiv2PrintsCanBeAskedFor) {
    const std::string path = picture("p.jpg", 20, 10);
    {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        image->setXmpPacket(R"(<x:xmpmeta xmlns:x="adobe:ns:meta/">
<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:Iptc4xmpExt="http://iptc.org/std/Iptc4xmpExt/2008-02-29/" xmlns:my="http://example.com/ns/">
<Iptc4xmpExt:LocationCreated><rdf:Bag><rdf:li rdf:parseType="Resource"><Iptc4xmpExt:City>Köln</Iptc4xmpExt:City>
</rdf:li></rdf:Bag></Iptc4xmpExt:LocationCreated>
<dc:creator><rdf:Seq><rdf:li rdf:parseType="Resource"><rdf:value>Ann</rdf:value><my:role>photographer</my:role></rdf:li></rdf:Seq></dc:creator>
<my:Straße>x</my:Straße>
</rdf:Description></rdf:RDF></x:xmpmeta>)");
        image->writeXmpFromPacket(true);
        image->writeMetadata();
    }
    const test::ProcessResult r =
        run("{{META(Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:City)}}|{{META(Xmp.dc.creator[1])}}|"
            "{{META(Xmp.dc.creator[1]/?my:role)}}|{{META(Xmp.my.Straße)}}|"
            "{{META(Xmp.iptcExt.LocationCreated[2]/Iptc4xmpExt:City)}}|{{META(Exif.Image.0x9999)}}",
            {"p.jpg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Köln|Ann|photographer|x||;");
}

TEST_F(Thumbnails, APictureWithoutAThumbnailIsLeftOutWithAWarningAndDoesNotCount) {
    const std::string good = picture("good.jpg", 64, 48);
    picture("first.png", 64, 48);
    std::string bytes = test::readAll(good);
    std::ofstream(dir / "cut.jpg", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(dir / "empty.jpg").close();
    std::ofstream(dir / "broken.svg") << "not a picture";
    // A header that claims 30000 x 30000 pixels: refused before anything is decoded.
    const std::size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    bytes.replace(frame + 5, 4, "\x75\x30\x75\x30");
    std::ofstream(dir / "bomb.jpg", std::ios::binary) << bytes;
    // A name that leaves no room for the size.
    const std::string longName = std::string(246, 'l') + ".png";
    picture(longName, 20, 10);

    const auto start = std::chrono::steady_clock::now();
    // Two entries a row: the ones left out take no place in it.
    const test::ProcessResult r = run("{{N}},{{ROW}},{{COL}} {{THUMB(32)}} {{THUMBWIDTH(32)}}",
                                      {"-w", "2", "--new-row=|", "first.png", "cut.jpg", "empty.jpg",
                                       "bomb.jpg", "missing.jpg", "broken.svg", longName, "good.jpg"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "1,1,1 thumbs/first.png-32.png 32;2,1,2 thumbs/good.jpg-32.jpg 32;");
    // One line each, in the list's order; the decoder's own reason for the first two.
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 6) << r.err;
    std::size_t at = 0;
    for (const std::string& line :
         {"cut.jpg: cannot make a thumbnail: "s, "empty.jpg: cannot make a thumbnail: "s,
          "bomb.jpg: cannot make a thumbnail: has 30000x30000 pixels, more than 200 million\n"s,
          "missing.jpg: cannot make a thumbnail: No such file or directory\n"s,
          "broken.svg: its width and height cannot be read\n"s,
          longName + ": cannot make a thumbnail: its name would be longer than a file name may be\n"}) {
        at = r.err.find("tabulon-cli: left out " + line, at);
        EXPECT_NE(at, std::string::npos) << line << "\n" << r.err;
    }
    EXPECT_EQ(names(dir.path() / "thumbs"),
              (std::set<std::string>{"CACHEDIR.TAG", "first.png-32.png", "good.jpg-32.jpg"}));
}

TEST_F(Thumbnails, WorkersTheSystemRefusesMakeTheListSlowerNotFail) {
    std::vector<std::string> args = {"-j", "1000", "-o", "list"};
    for (const char* name : {"a.png", "b.png", "c.png"})
        args.push_back(picture(name, 16, 8));
    // An address-space limit, which binds root too: a thousand thread stacks do not fit.
    const test::ProcessResult r = run("{{THUMBWIDTH(8)}}", args, {std::chrono::seconds(60), 1000000000});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.starts_with("tabulon-cli: started ")) << r.err;
    EXPECT_TRUE(r.err.ends_with(" of 1000 thumbnail workers: Resource temporarily unavailable\n")) << r.err;
    EXPECT_EQ(test::readAll(dir / "list"), "8;8;8;");
    EXPECT_EQ(names(dir.path()), (std::set<std::string>{"a.png", "b.png", "c.png", "list", "thumbs"}));
}

TEST_F(Thumbnails, BitmapsAndIconsAreDecodedWithoutTheUntrustedLoaders) {
    const std::string bmp = test::readAll(test::kSeedFolder / "true.bmp");
    dir.write("true.bmp", bmp);
    dir.write("cut.bmp", bmp.substr(0, 500));
    // An icon whose largest image is a PNG, named as something else.
    fs::copy_file(test::kSeedFolder / "icon.ico", dir.path() / "icon.jpg");

    const test::ProcessResult r =
        run("{{THUMB(100)}} {{THUMBWIDTH(100)}}x{{THUMBHEIGHT(100)}}", {"true.bmp", "icon.jpg", "cut.bmp"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "thumbs/true.bmp-100.png 48x32;thumbs/icon.jpg-100.jpg 32x32;");
    EXPECT_EQ(r.err, "tabulon-cli: left out cut.bmp: cannot make a thumbnail: it is cut short\n");
}

TEST_F(Thumbnails, APictureTooLargeForTheMemoryLeftIsLeftOutNotTheList) {
    // A small run-length bitmap that unpacks to 600 MB, under a 600 MB address space.
    std::string pixels = le(40, 4) + le(15000, 4) + le(10000, 4) + le(1, 2) + le(8, 2) + le(1, 4) + le(2, 4) +
                         std::string(8, '\0') + le(256, 4) + le(0, 4);
    for (int i = 0; i < 256; ++i)
        pixels += "\0\0\xFF\0"s;
    pixels += "\0\x01"s; // the end of the bitmap
    dir.write("big.bmp", "BM"s + le(14 + pixels.size(), 4) + le(0, 4) + le(14 + 40 + 1024, 4) + pixels);
    picture("a.png", 20, 10);
    const test::ProcessResult r =
        run("{{THUMB(50)}}", {"-j", "1", "big.bmp", "a.png"}, {std::chrono::seconds(60), 600000000});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("thumbs/a.png-50.png;")) << r.out;
    EXPECT_EQ(r.err,
              "tabulon-cli: left out big.bmp: cannot make a thumbnail: not enough memory to read it\n");
}

TEST_F(Thumbnails, TransparencyIsLaidOnWhiteOnlyWhereTheFormatHasNone) {
    // A transparent picture whose hidden colour is black.
    VipsImage* clear = nullptr;
    ASSERT_EQ(vips_copy(test::blackPicture(40, 20, 4).get(), &clear, "interpretation",
                        VIPS_INTERPRETATION_sRGB, nullptr),
              0);
    ASSERT_EQ(vips_image_write_to_file(test::Image(clear).get(), (dir / "clear.png").c_str(), nullptr), 0);
    struct Case {
        std::string format;
        int bands;
        double average; // of all bands
    };
    for (const Case& c : std::vector<Case>{{"jpg", 3, 255}, {"png", 4, 0}, {"webp", 4, 0}}) {
        const test::ProcessResult r = run("{{THUMB(20)}}", {"--thumb-format", c.format, "clear.png"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const test::Image thumb = test::openPicture(dir / ("thumbs/clear.png-20." + c.format));
        ASSERT_NE(thumb, nullptr) << c.format;
        double average = -1;
        EXPECT_EQ(vips_avg(thumb.get(), &average, nullptr), 0);
        EXPECT_EQ(vips_image_get_bands(thumb.get()), c.bands) << c.format;
        EXPECT_NEAR(average, c.average, 2) << c.format;
    }
}

TEST_F(Thumbnails, ACutShortPictureKeepsWhatCouldBeReadAndIsNamedInAWarning) {
    // Noise makes a large JPEG: its first 5,000 bytes hold a sliver of it.
    VipsImage* noise = nullptr;
    VipsImage* bytes = nullptr;
    ASSERT_EQ(vips_gaussnoise(&noise, 600, 400, "sigma", 80.0, nullptr), 0);
    ASSERT_EQ(vips_cast(test::Image(noise).get(), &bytes, VIPS_FORMAT_UCHAR, nullptr), 0);
    const std::string cut = dir / "cut.jpg";
    ASSERT_EQ(vips_image_write_to_file(test::Image(bytes).get(), (cut + "[Q=95]").c_str(), nullptr), 0);
    ASSERT_GT(fs::file_size(cut), 100000U);
    fs::resize_file(cut, 5000);

    const test::ProcessResult r =
        run("{{THUMB(60)}} {{THUMBWIDTH(60)}} {{THUMB(30)}}", {"-j", "1", "cut.jpg"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "thumbs/cut.jpg-60.jpg 60 thumbs/cut.jpg-30.jpg;");
    EXPECT_TRUE(r.err.starts_with(
        "tabulon-cli: cut.jpg: damaged or cut short, its thumbnail shows what could be read: "))
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST_F(Thumbnails, AThumbnailIsReusedOnlyWhenItCarriesThePicturesTimeAndReadsAsOne) {
    enum Change { kNothing, kOlderPicture, kTouched, kText, kLarger };
    struct Case {
        std::string what;
        Change change;
        std::string out; // empty: reused as it is
    };
    for (const Case& c :
         std::vector<Case>{{"nothing changed", kNothing, ""},
                           {"the picture replaced by an older one", kOlderPicture, "40x40;"},
                           {"the picture touched by a nanosecond", kTouched, "40x20;"},
                           {"a text file of the picture's time at the name", kText, "40x20;"},
                           {"a larger picture of the picture's time at the name", kLarger, "40x20;"}}) {
        SCOPED_TRACE(c.what);
        const std::string photo = picture("p.jpg", 200, 100);
        setDay(photo, 2100, 1, 2); // a camera's wrong clock: reused all the same
        ASSERT_EQ(run("{{THUMB(40)}}", {"p.jpg"}).exitCode, 0);
        const std::string thumb = dir / "thumbs/p.jpg-40.jpg";
        if (c.change == kOlderPicture) {
            picture("p.jpg", 100, 100);
            setDay(photo, 2001, 1, 1);
        }
        if (c.change == kTouched)
            fs::last_write_time(photo, fs::last_write_time(photo) + std::chrono::nanoseconds(1));
        if (c.change == kText)
            std::ofstream(thumb) << "not a picture";
        if (c.change == kLarger)
            picture("thumbs/p.jpg-40.jpg", 80, 40);
        if (c.change == kText || c.change == kLarger)
            fs::last_write_time(thumb, fs::last_write_time(photo));
        // A second name for the thumbnail as it is: a new one is another file.
        const std::string before = dir / "before.jpg";
        fs::remove(before);
        fs::create_hard_link(thumb, before);
        const test::ProcessResult r = run("{{THUMBWIDTH(40)}}x{{THUMBHEIGHT(40)}}", {"p.jpg"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out.empty() ? "40x20;" : c.out);
        EXPECT_EQ(!fs::equivalent(thumb, before), !c.out.empty());
        // What the thumbnail was made from: the picture's time to the nanosecond.
        EXPECT_EQ(fs::last_write_time(thumb), fs::last_write_time(photo));
    }
}

TEST_F(Thumbnails, OnlyAFolderTabulonMadeIsTaggedAndWhatElseIsThereIsNeverWrittenOver) {
    picture("p.jpg", 200, 100);
    ASSERT_EQ(run("{{THUMB(10)}}", {"p.jpg"}).exitCode, 0);

    // A folder Tabulon did not make is tagged and used only when it holds
    // nothing but thumbnails by name of the pictures beside it (an earlier
    // version's); anything else of the user's there stops the list, untouched.
    const std::string out = dir / "list.html";
    struct Folder {
        std::string name;
        std::vector<std::pair<std::string, std::string>> files;
        std::string message; // empty: used
    };
    const std::string tag = "Signature: 8a477f597d28d172789f06886806bc55\n";
    const std::string ownFolder =
        ": thumbnails are made only in a folder of their own; rename it, or name another thumbnail folder";
    for (const Folder& f : std::vector<Folder>{
             {"empty", {}, ""},
             {"old", {{"p-40.jpg", "old"}, {"p.jpg-30.jpg", "x"}, {".tabulon-1-0.jpg", "half"}}, ""},
             {"mine", {{"holiday.png", "mine"}}, "mine holds files Tabulon did not make" + ownFolder},
             {"cache", {{"CACHEDIR.TAG", tag}}, "cache is another program's cache folder" + ownFolder},
         }) {
        fs::create_directory(dir.path() / f.name);
        for (const auto& [name, text] : f.files)
            std::ofstream(dir / (f.name + "/" + name)) << text;
        const test::ProcessResult r = run("{{THUMB(40)}}", {"-o", out, "--thumb-dir", f.name, "p.jpg"});
        const bool used = f.message.empty();
        EXPECT_EQ(r.exitCode, used ? 0 : 1) << f.name << r.err;
        EXPECT_TRUE(used || r.err == "tabulon-cli: " + f.message + "\n") << r.err;
        EXPECT_EQ(fs::exists(out), used) << f.name;
        // A folder used gains its tag and the thumbnail; one refused stays as it was.
        EXPECT_EQ(names(dir.path() / f.name).size(), f.files.size() + (used ? 2 : 0)) << f.name;
        fs::remove(out);
    }

    // A link, a folder, or a file where the thumbnail folder would be: the list stops, unwritten.
    std::ofstream(dir / "elsewhere") << "theirs";
    fs::create_symlink(dir / "elsewhere", dir.path() / "thumbs/p.jpg-30.jpg");
    fs::create_directory(dir.path() / "thumbs/p.jpg-20.jpg");
    std::ofstream(dir / "notes") << "x";
    const std::string inTheWay =
        " is in the way of a thumbnail and is not replaced: it is not a regular file";
    for (const auto& [entry, folder, message] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"{{THUMB(30)}}", "thumbs", "thumbs/p.jpg-30.jpg" + inTheWay},
             {"{{THUMB(20)}}", "thumbs", "thumbs/p.jpg-20.jpg" + inTheWay},
             {"{{THUMB(20)}}", "notes", "cannot make the thumbnail folder notes: Not a directory"}}) {
        const test::ProcessResult r = run(entry, {"-o", out, "--thumb-dir", folder, "p.jpg"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "tabulon-cli: " + message + "\n");
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(test::readAll(dir / "elsewhere"), "theirs");
    EXPECT_EQ(fs::directory_iterator(dir.path() / "thumbs/p.jpg-20.jpg"), fs::directory_iterator());
}

TEST_F(Thumbnails, ThumbnailsThatCannotBeWrittenStopTheListNamingTheFirstFew) {
    std::vector<std::string> args = {"-j", "2", "-o", dir / "list.html"};
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) {
        picture(name, 300, 200);
        args.push_back(name);
    }
    test::ProcessResult r;
    {
        // A full disk, even for root: the tag fits, no JPEG does.
        const test::ResourceLimit limit(RLIMIT_FSIZE, 300);
        r = run("{{THUMB(200)}}", args);
    }
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tabulon-cli: cannot write thumbs/a.jpg-200.jpg: File too large; "
                     "cannot write thumbs/b.jpg-200.jpg: File too large; "
                     "cannot write thumbs/c.jpg-200.jpg: File too large; and 2 more\n");
    EXPECT_FALSE(fs::exists(dir / "list.html"));
    EXPECT_EQ(names(dir.path() / "thumbs"), std::set<std::string>{"CACHEDIR.TAG"});
}

TEST_F(Thumbnails, ThumbnailsOfPicturesThatAreGoneAreReportedAndPrunedOnlyWhereTabulonMadeThem) {
    for (const char* name : {"a.jpg", "b.jpg", "c.png", "d.png", "e.png"})
        picture(name, 40, 20);
    ASSERT_EQ(run("{{THUMB(10)}}{{THUMB(12)}}", {"a.jpg", "b.jpg", "c.png", "d.png", "e.png"}).exitCode, 0);
    // Not of the naming rule, or not a regular file: never a leftover.
    std::ofstream(dir / "thumbs/notes.txt") << "x";
    std::ofstream(dir / "thumbs/gone-x.png") << "x";
    fs::create_directory(dir.path() / "thumbs/old.png-10.png");
    // Temporaries: only those of the shapes Tabulon writes, of runs that are gone, are removed.
    const std::string gone = ".tabulon-" + std::to_string(test::goneProcess());
    const std::string kept[] = {gone + "-notes.txt", gone + "-7.jpg.bak", ".tabulon-1-0.jpg"};
    for (const std::string& name : {gone + "-0.jpg", gone + "-tag3", kept[0], kept[1], kept[2]})
        std::ofstream(dir / ("thumbs/" + name)) << "half";
    for (const char* name : {"b.jpg", "c.png", "d.png"})
        fs::remove(dir.path() / name);
    fs::rename(dir.path() / "e.png", dir.path() / "e2.png");

    test::ProcessResult r = run("{{THUMB(10)}}", {"a.jpg"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "tabulon-cli: 8 thumbnails of pictures that are gone in thumbs: b.jpg-10.jpg, "
                     "b.jpg-12.jpg, c.png-10.png, ...; --prune-thumbs deletes them\n");
    // Also from a list without thumbnails, for the folders its walk passed.
    EXPECT_EQ(run("{{FILE}}", {"--include", "*.none", "."}).err,
              "tabulon-cli: 8 thumbnails of pictures that are gone in ./thumbs: b.jpg-10.jpg, "
              "b.jpg-12.jpg, c.png-10.png, ...; --prune-thumbs deletes them\n");
    r = run("{{THUMB(10)}}", {"--prune-thumbs", "a.jpg"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "tabulon-cli: deleted 8 thumbnails of pictures that are gone in thumbs\n");
    EXPECT_EQ(names(dir.path() / "thumbs"),
              (std::set<std::string>{"CACHEDIR.TAG", "a.jpg-10.jpg", "a.jpg-12.jpg", "gone-x.png",
                                     "notes.txt", "old.png-10.png", kept[0], kept[1], kept[2]}));

    // Named however, the thumbnail folder finds its pictures beside it.
    EXPECT_EQ(
        run("{{FILE}}", {"--images", "--prune-thumbs", "thumbs/"}).err,
        "tabulon-cli: left out the folder thumbs/: it holds thumbnails that Tabulon made (CACHEDIR.TAG)\n");
    EXPECT_TRUE(fs::exists(dir.path() / "thumbs/a.jpg-10.jpg"));
}

TEST_F(Thumbnails, OnlyListsThatUseTheMediaModuleNeedIt) {
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    fs::copy_file(TABULON_CLI, bin / "tabulon-cli");
    fs::copy_file(fs::path(TABULON_CLI).parent_path() / "tabulon-decoder", bin / "tabulon-decoder");
    const std::string cli = (bin / "tabulon-cli").string();
    picture("p.png", 20, 10);
    const std::string needed = "tabulon-cli: thumbnails and photo metadata need the media module: ";
    for (const auto& [entry, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"{{TAKEN}}", {"p.png"}}, {"{{FILE}}", {"--sort", "taken", "p.png"}}}) {
        const test::ProcessResult r = run(entry, args, kUsual, cli);
        EXPECT_EQ(r.exitCode, 1) << entry;
        EXPECT_EQ(r.out, "");
        // The reason after it is the loader's own, naming the module.
        EXPECT_TRUE(r.err.starts_with(needed)) << r.err;
        EXPECT_NE(r.err.find("libtabulon-media.so: "), std::string::npos) << r.err;
    }
    EXPECT_EQ(run("{{FILE}} {{WIDTH}}", {"p.png"}, kUsual, cli).out, "p.png 20;");
    EXPECT_FALSE(fs::exists(dir.path() / "thumbs"));

    // Thumbnails that are all up to date are listed without loading it; one
    // to make stops the list, with nothing written.
    std::ofstream(bin / "libtabulon-media.so") << "not a library";
    ASSERT_EQ(run("{{THUMB(5)}}", {"p.png"}).exitCode, 0);
    EXPECT_EQ(run("{{THUMB(5)}}{{THUMBWIDTH(5)}}", {"p.png"}, kUsual, cli).out, "thumbs/p.png-5.png5;");
    const std::string out = dir / "list.html";
    const test::ProcessResult r = run("{{THUMB(6)}}", {"-o", out, "p.png"}, kUsual, cli);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.starts_with(needed)) << r.err;
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace tabulon
