#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "listgen/entry_processor.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

// A template set that shows only the entry and a row break.
TemplateSet bare(std::string entry) {
    TemplateSet set;
    set.newEntry = std::move(entry);
    set.newRow = "|";
    set.addComments = kUnchecked;
    return set;
}

std::string expand(const TemplateSet& set, const std::vector<std::string>& files, std::uint32_t width = 100) {
    StringSink sink;
    EntryProcessor processor(set, width, sink);
    processor.start();
    for (const std::string& file : files)
        processor.ProcessFile(file);
    processor.finish();
    return sink.take();
}

std::string list(const std::string& entry, const std::vector<std::string>& files, std::uint32_t width = 100) {
    return expand(bare(entry), files, width);
}

TEST(Placeholders, BothFileFormsGiveTheSameValues) {
    const std::string text = "{{FILE}}|{{PATH}}|{{BASE}}|{{EXT}}|{{SHORTEXT}}";
    const auto entry = [&](std::string_view folder, std::string_view name) {
        StringSink sink;
        EntryProcessor(bare(text), 1, sink).ProcessFile(folder, name);
        return sink.take();
    };
    const std::string expected = "/pics/photo.jpg|/pics/|photo|.jpg|jpg";
    EXPECT_EQ(entry("", "/pics/photo.jpg"), expected);
    EXPECT_EQ(entry("/pics", "photo.jpg"), expected);
    // A folder that already ends in a separator is not given a second one.
    EXPECT_EQ(entry("/pics/", "photo.jpg"), expected);
    EXPECT_EQ(entry("/", "photo.jpg"), "/photo.jpg|/|photo|.jpg|jpg");
    // A backslash is part of a name, so a folder ending in one still gets its slash.
    EXPECT_EQ(entry("/D/x\\", "a.jpg"), "/D/x\\/a.jpg|/D/x\\/|a|.jpg|jpg");
}

TEST(Placeholders, TopRowAndBottomTakeOnlyLineBreaks) {
    TemplateSet set = bare("e");
    set.top = "{{FILE}}A{{CRLF}}";
    set.newRow = "{{BASE}}|";
    set.bottom = "{{CRLF}}{{INC}}";
    EXPECT_EQ(expand(set, {"a", "b"}, 1), "{{FILE}}A\r\ne{{BASE}}|e\r\n{{INC}}");
}

// What the template does with a name, an include and the file's own text is
// checked against a model by the expansion fuzz target over its saved inputs.

TEST(Placeholders, TheFilesOwnTextIsReadOnceHoweverOftenItStands) {
    // Each read of this file changes its text: a second read would show.
    const std::string counter = "/proc/self/io";
    if (!std::filesystem::exists(counter))
        GTEST_SKIP() << "no " << counter;
    const std::string out = list("{{INC}}#{{INC}}", {counter});
    const std::size_t cut = out.find('#');
    ASSERT_NE(cut, std::string::npos);
    EXPECT_FALSE(out.substr(0, cut).empty());
    EXPECT_EQ(out.substr(0, cut), out.substr(cut + 1));
}

struct EscapeCase : test::Sentence {
    std::string name;
    std::string html;
    std::string url;
};

class Escaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, MakesTheNameSafeForTextAndLinks) {
    EXPECT_EQ(list("{{FILE:html}}", {GetParam().name}), GetParam().html);
    EXPECT_EQ(list("{{FILE:url}}", {GetParam().name}), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Escaping,
    testing::Values(
        EscapeCase{"ampersands and markup", "/p/<b>&c.jpg", "/p/&lt;b&gt;&amp;c.jpg", "/p/%3Cb%3E%26c.jpg"},
        EscapeCase{"hash and percent", "/p/#1 100%.jpg", "/p/#1 100%.jpg", "/p/%231%20100%25.jpg"},
        EscapeCase{"both quotes", "/p/\"it's\".jpg", "/p/&quot;it&#39;s&quot;.jpg", "/p/%22it%27s%22.jpg"},
        EscapeCase{"a colon cannot read as a scheme", "c:x/y.jpg", "c:x/y.jpg", "c%3Ax/y.jpg"},
        EscapeCase{"a backslash is encoded as part of the name", "pics\\a.jpg", "pics\\a.jpg",
                   "pics%5Ca.jpg"},
        EscapeCase{"composed accents as UTF-8", "/caf\xC3\xA9.jpg", "/caf\xC3\xA9.jpg", "/caf%C3%A9.jpg"},
        EscapeCase{"unreserved characters stay", "/A-z_0.9~/x", "/A-z_0.9~/x", "/A-z_0.9~/x"}),
    test::bySentence);

TEST(PlaceholderValues, AFormTheEngineDoesNotKnowStaysAsWritten) {
    const std::string unknown =
        "{{FILE:foo}}{{WIDTH:html}}{{N:url}}{{INC:foo}}{{WIDTHS}}{{n}}{{FILE:HTML}}{{FILE:}}";
    EXPECT_EQ(list(unknown, {"f"}), unknown);
}

TEST(PlaceholderValues, CountersFollowTheRows) {
    const std::vector<std::string> five = {"a", "b", "c", "d", "e"};
    EXPECT_EQ(list("{{N}}:{{ROW}}.{{COL}} ", five, 1), "1:1.1 |2:2.1 |3:3.1 |4:4.1 |5:5.1 ");
    EXPECT_EQ(list("{{N}}:{{ROW}}.{{COL}} ", five, 3), "1:1.1 2:1.2 3:1.3 |4:2.1 5:2.2 ");
    EXPECT_EQ(list("{{N}}:{{ROW}}.{{COL}} ", five, 2147483647), "1:1.1 2:1.2 3:1.3 4:1.4 5:1.5 ");
    // A fresh list starts the count again.
    StringSink sink;
    EntryProcessor processor(bare("[{{BASE}}{{N}}]"), 2, sink);
    processor.start();
    processor.ProcessFile("a");
    processor.start();
    for (const char* file : {"b", "c", "d"})
        processor.ProcessFile(file);
    EXPECT_EQ(sink.take(), "[a1][b1][c2]|[d3]");
}

TEST(PlaceholderValues, SizeAndDateOfTheFile) {
    test::TempDir dir;
    const std::string file = dir.write("f.txt", "12345");
    const auto day = [](std::time_t t) {
        char text[16];
        std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&t));
        return std::string(text);
    };
    const std::time_t before = std::time(nullptr);
    const std::string listed = list("{{SIZE}} {{DATE}}", {file});
    EXPECT_TRUE(listed == "5 " + day(before) || listed == "5 " + day(std::time(nullptr))) << listed;
    EXPECT_EQ(list("[{{SIZE}}|{{DATE}}]", {dir / "missing"}), "[|]");
}

// The size as shown, also where it lies beyond the first read of the file:
// a JPEG frame behind a large colour profile, a WebP's EXIF behind its data.
TEST(PlaceholderValues, WidthAndHeightOfAnImageFile) {
    test::TempDir dir;
    std::string jpeg = "\xFF\xD8"s;
    for (int i = 0; i < 2; ++i)
        jpeg += "\xFF\xE2\xFF\xFF"s + std::string(65533, 'p');
    jpeg += "\xFF\xC0\x00\x0B\x08\x0B\xD0\x0F\xC0\x01"s;
    std::string webp = test::readAll(std::string(TABULON_TEST_DATA) + "/orientation/webp-6.webp");
    const std::size_t exif = webp.find("EXIF");
    ASSERT_NE(exif, std::string::npos);
    webp.insert(exif, "PAD \x70\x11\x01\x00"s + std::string(70000, 'p'));
    const std::uint32_t riff = static_cast<std::uint32_t>(webp.size() - 8);
    for (int i = 0; i < 4; ++i)
        webp[4 + i] = static_cast<char>(riff >> (8 * i));
    // A file whose size cannot be read gives none.
    EXPECT_EQ(list("{{WIDTH}}x{{HEIGHT}} ",
                   {dir.write("c.jpg", jpeg), dir.write("big.webp", webp), dir.write("b.png", "\x89PNG")}),
              "4032x3024 2x3 x ");
}

// Which picture placeholders a template holds decides whether the media
// module is loaded and which thumbnails are made; text that only looks like
// one stays as written.
TEST(MediaPlaceholders, AreFoundWithTheirArgumentsAndFormsOnly) {
    struct Case {
        std::string entry;
        bool usesMedia;
        std::vector<std::uint32_t> sizes;
    };
    for (const Case& c : std::vector<Case>{
             // Nothing here names the module's data; an unclosed tag must come last.
             {"{{FILE}} {{WIDTH}} {{INC(x)}} {{THUMB(0)}} {{THUMB(x)}} {{THUMB()}} {{THUMB(100000000)}} "
              "{{THUMB(5):pdf}} {{META()}} {{META(a{b)}} {{META(a}}b)}} {{META(a(b)}} {{META(a b)}} "
              "{{THUMB(5)",
              false,
              {}},
             {"{{TAKEN}}", true, {}},
             {"{{CAPTION:url}}{{META(Exif.Image.Model):html}}", true, {}},
             {"{{META(Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:City)}}", true, {}},
             {"{{META(Xmp.dc.creator[1]/?my:role):url}}{{META(Xmp.my.Stra\u00DFe)}}", true, {}},
             {"{{THUMB(200)}}{{THUMBWIDTH(80):url}}{{THUMBHEIGHT(200)}}{{THUMB(80):html}}", true, {200, 80}},
         }) {
        const EntryTemplate entry(c.entry, "");
        EXPECT_EQ(entry.usesMedia(), c.usesMedia) << c.entry;
        EXPECT_EQ(entry.thumbSizes(), c.sizes) << c.entry;
    }
    // Without the module, as written.
    const std::string all = "{{THUMB(200):url}}|{{TAKEN}}|{{META(Exif.Image.Model)}}|{{CAPTION:html}}";
    EXPECT_EQ(list(all, {"a.jpg"}), all);
}

} // namespace
} // namespace tabulon
