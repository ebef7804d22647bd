// tabulon-cli's thumbnails and photo metadata, on pictures the tests make
// with libvips and tag with Exiv2.
#include <gtest/gtest.h>

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

// Tabulon reads HEIF pictures' metadata with Exiv2's BMFF reader; a damaged
// one, which Exiv2's QuickTime reader would spin on for minutes, has none.
TEST_F(Thumbnails, HeifPicturesGiveTheirMetadataAndDamagedOnesNoneAtOnce) {
    for (const std::string name : {"p.avif", "p.heic"}) {
        // As a phone makes them: libvips carries a JPEG's EXIF and XMP over.
        // 64 x 48 is more than one HEVC tile: a tiled HEIC.
        const std::string jpeg = picture("tagged.jpg", 64, 48);
        tag(jpeg, {{"Exif.Photo.DateTimeOriginal", "2019:07:14 10:11:12"},
                   {"Exif.Image.Model", "Phone"},
                   {"Xmp.dc.description", "lang=x-default Beach"}});
        VipsImage* image = vips_image_new_from_file(jpeg.c_str(), nullptr);
        ASSERT_NE(image, nullptr);
        const bool written = vips_image_write_to_file(image, (dir / name).c_str(), nullptr) == 0;
        g_object_unref(image);
        if (!written)
            GTEST_SKIP() << "libheif cannot write " << name << " here: " << vips_error_buffer();
    }
    // One size byte changed: the first box claims 16 MB.
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"p.avif", "bad.avif"}, {"p.avif", "holiday.jpg"}, {"p.heic", "bad.heic"}}) {
        std::string bytes = test::readAll(dir / from);
        bytes[0] = '\x01';
        dir.write(to, bytes);
    }
    // Bounded: on such a picture Exiv2's video reader ran for minutes.
    const auto bounded = [this](const std::string& entry, std::vector<std::string> args) {
        args.insert(args.begin(), {"-s", "KILL", "20", TABULON_CLI, "--no-comments",
                                   "--top=", "--bottom=", "--new-row=", "--end-entry=;", "--entry", entry});
        return test::runProcess("/usr/bin/timeout", args, {}, dir.path().string());
    };
    const std::vector<std::string> names = {"p.avif", "p.heic", "bad.avif", "holiday.jpg", "bad.heic"};
    for (const std::string& name : names)
        setDay(dir / name, 2020, 1, 2);
    test::ProcessResult r = bounded("{{TAKEN}}|{{CAPTION}}|{{META(Exif.Image.Model)}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2019-07-14|Beach|Phone;2019-07-14|Beach|Phone;2020-01-02||;2020-01-02||;2020-01-02||;");
    r = bounded("{{FILE}}", {"--sort", "taken", "holiday.jpg", "p.heic"});
    EXPECT_EQ(r.out, "p.heic;holiday.jpg;") << r.err;
    // A name is only ever a file's name, never an address Exiv2 would fetch.
    fs::create_directories(dir.path() / "http:/127.0.0.1:9");
    fs::copy_file(dir / "tagged.jpg", dir / "http:/127.0.0.1:9/p.jpg");
    EXPECT_EQ(bounded("{{TAKEN}}", {"http://127.0.0.1:9/p.jpg"}).out, "2019-07-14;");
}

// What a picture says is checked on its way into the page: a day no
// calendar has is no day, and text becomes UTF-8 in every form.
TEST_F(Thumbnails, MetadataGivesRealDaysAndUtf8TextOnly) {
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> tags;
        std::string expected;
    };
    const std::string shot = "Exif.Photo.DateTimeOriginal";
    const std::string iptc = "Iptc.Application2.Caption";
    const std::vector<Case> cases = {
        {"month13.jpg", {{shot, "2021:13:45 10:00:00"}}, "2020-01-02||||"},
        {"feb30.jpg", {{shot, "2021:02:30 10:00:00"}}, "2020-01-02||||"},
        {"feb29.jpg", {{shot, "2019:02:29 10:00:00"}}, "2020-01-02||||"},
        {"century.jpg", {{shot, "1900:02:29 10:00:00"}}, "2020-01-02||||"},
        {"leap.jpg", {{shot, "2000:02:29 10:00:00"}}, "2000-02-29||||"},
        // IPTC without a character set, as cameras and exiftool write Latin-1.
        {"latin1.jpg", {{iptc, "caf\xE9 \x80"}}, "2020-01-02|café €|café €|caf%C3%A9%20%E2%82%AC|café €"},
        {"undeclared.jpg", {{iptc, "caf\xC3\xA9"}}, "2020-01-02|café|café|caf%C3%A9|café"},
        {"declared.jpg",
         {{"Iptc.Envelope.CharacterSet", "\x1b%G"}, {iptc, "caf\xC3\xA9 \xE9"}},
         "2020-01-02|café \uFFFD|café \uFFFD|caf%C3%A9%20%EF%BF%BD|café \uFFFD"},
        {"zero.jpg",
         {{"Iptc.Envelope.CharacterSet", "\x1b%G"}, {iptc, std::string("a\0<b>", 5)}},
         "2020-01-02|a<b>|a&lt;b&gt;|a%3Cb%3E|a<b>"},
        {"exif.jpg",
         {{"Exif.Image.ImageDescription", "x\xFF<"}},
         "2020-01-02|x\uFFFD<|x\uFFFD&lt;|x%EF%BF%BD%3C|"},
    };
    std::vector<std::string> names;
    std::string expected;
    for (const Case& c : cases) {
        const std::string path = picture(c.name, 20, 10);
        tag(path, c.tags);
        setDay(path, 2020, 1, 2);
        names.push_back(c.name);
        expected += c.expected + ";";
    }
    const test::ProcessResult r =
        run("{{TAKEN}}|{{CAPTION}}|{{CAPTION:html}}|{{CAPTION:url}}|{{META(" + iptc + ")}}", names);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected);
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
 xmlns:Iptc4xmpExt="http://iptc.org/std/Iptc4xmpExt/2008-02-29/" xmlns:xmpMM="http://ns.adobe.com/xap/1.0/mm/"
 xmlns:stEvt="http://ns.adobe.com/xap/1.0/sType/ResourceEvent#" xmlns:my="http://example.com/ns/">
<dc:subject><rdf:Bag><rdf:li>sea</rdf:li><rdf:li>sand</rdf:li></rdf:Bag></dc:subject>
<dc:title><rdf:Alt><rdf:li xml:lang="x-default">Title</rdf:li><rdf:li xml:lang="de-DE">Titel</rdf:li></rdf:Alt></dc:title>
<Iptc4xmpExt:LocationCreated><rdf:Bag><rdf:li rdf:parseType="Resource"><Iptc4xmpExt:City>Köln</Iptc4xmpExt:City>
<Iptc4xmpExt:CountryName><rdf:Alt><rdf:li xml:lang="x-default">Germany</rdf:li></rdf:Alt></Iptc4xmpExt:CountryName>
</rdf:li></rdf:Bag></Iptc4xmpExt:LocationCreated>
<xmpMM:History><rdf:Seq><rdf:li rdf:parseType="Resource"><stEvt:action>saved</stEvt:action></rdf:li></rdf:Seq></xmpMM:History>
<dc:creator><rdf:Seq><rdf:li rdf:parseType="Resource"><rdf:value>Ann</rdf:value><my:role>photographer</my:role></rdf:li></rdf:Seq></dc:creator>
<my:Straße>x</my:Straße>
</rdf:Description></rdf:RDF></x:xmpmeta>)");
        image->writeXmpFromPacket(true);
        image->writeMetadata();
    }
    std::string entry;
    std::string expected;
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"Xmp.dc.subject", "sea, sand"},
             {"Xmp.dc.title", R"(lang="x-default" Title, lang="de-DE" Titel)"},
             {"Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:City", "Köln"},
             {"Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:CountryName", R"(lang="x-default" Germany)"},
             {"Xmp.xmpMM.History[1]/stEvt:action", "saved"},
             {"Xmp.dc.creator[1]", "Ann"},
             {"Xmp.dc.creator[1]/?my:role", "photographer"},
             {"Xmp.my.Straße", "x"},
             {"Xmp.iptcExt.LocationCreated[2]/Iptc4xmpExt:City", ""},
             {"Xmp.nosuchprefix.City", ""},
             {"Exif.Image.0x9999", ""},
         }) {
        entry += "{{META(" + key + ")}}|";
        expected += value + "|";
    }
    const test::ProcessResult r = run(entry, {"p.jpg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected + ";");
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
