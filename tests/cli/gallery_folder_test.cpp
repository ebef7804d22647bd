#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

// A photo folder as web authors have them, through the README's gallery
// command: every picture once, nothing else, links and captions that read back.
namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string htmlDecoded(std::string text) {
    static const std::pair<std::string, std::string> kReferences[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [reference, character] : kReferences) {
        for (std::size_t at = text.find(reference); at != std::string::npos;
             at = text.find(reference, at + character.size()))
            text.replace(at, reference.size(), character);
    }
    return text;
}

std::string urlDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
    const std::regex re(pattern);
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

class GalleryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const std::pair<std::string, const std::string*> files[] = {
            {"a b.png", &test::kPng},       {"Tom & Ann.JPG", &test::kJpeg},
            {"#1 50%.gif", &test::kGif},    {"\"q\" 'r'.png", &test::kPng},
            {"<b>x&amp;.png", &test::kPng}, {"caf\xC3\xA9 \xC3\x89t\xC3\xA9.jpeg", &test::kJpeg},
            {"x:y.png", &test::kPng},       {"a\\b.png", &test::kPng},
            {"icon.svg", &test::kIconSvg},  {"logo.SVG", &test::kSvg},
            {"sub/img10.png", &test::kPng}, {"sub/img2.png", &test::kPng}};
        fs::create_directories(dir / "photos/sub");
        for (const auto& [name, bytes] : files)
            pictures.insert(dir.write("photos/" + name, *bytes));
        for (const char* other : {"a b.txt", "README.md", "LICENSE", "scan.tif", "sub/notes.txt"})
            dir.write("photos/"s + other, "<b>bold</b> & caf\xC3\xA9 \"1\" 'x'");
    }

    test::ProcessResult gallery(std::vector<std::string> options) {
        options.insert(options.end(), {"-r", "--sort", "natural", dir / "photos"});
        return test::runProcess(TABULON_CLI, options);
    }

    test::TempDir dir;
    std::set<std::string> pictures;
};

TEST_F(GalleryFolder, EveryPictureIsShownOnceWithItsSizeAndCaptionAndNothingElseIs) {
    struct Case {
        const char* preset;
        const char* address; // where the picture's address stands
    };
    for (const Case c :
         {Case{"css-grid", R"re(<img src="([^"]*)")re"}, Case{"link-list", R"re(href="([^"]*)")re"},
          Case{"markdown-table", R"re(\]\(([^)]*)\))re"}}) {
        SCOPED_TRACE(c.preset);
        const test::ProcessResult r = gallery({"--preset", c.preset, "--images", "--page"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::set<std::string> shown;
        for (const std::string& address : matches(r.out, c.address)) {
            const std::string file = urlDecoded(htmlDecoded(address));
            EXPECT_TRUE(pictures.contains(file)) << address;
            EXPECT_TRUE(shown.insert(file).second) << address;
        }
        EXPECT_EQ(shown, pictures);
        EXPECT_EQ(r.out.find("=\"\""), std::string::npos) << r.out;
        if (c.preset != "css-grid"s)
            continue;
        // Captions from the names read back exactly.
        std::set<std::string> captions, bases;
        for (const std::string& caption : matches(r.out, "<figcaption>([^<]*)</figcaption>"))
            captions.insert(htmlDecoded(caption));
        for (const std::string& picture : pictures)
            bases.insert(fs::path(picture).stem().string());
        EXPECT_EQ(captions, bases);
    }
}

// Every file under `folder` with its modification time.
std::map<std::string, std::int64_t> filesAndTimes(const fs::path& folder) {
    std::map<std::string, std::int64_t> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found[entry.path().string()] = entry.last_write_time().time_since_epoch().count();
    return found;
}

TEST_F(GalleryFolder, TheThumbnailGalleryMadeAgainIsTheSamePageAndMakesNothingNew) {
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
