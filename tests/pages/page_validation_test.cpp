#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

// Small pictures that decoders accept: a 3×2 PNG, a 1×1 JPEG and GIF, a sized SVG.
const std::string kPng =
    "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x03\0\0\0\x02\x08\x03\0\0\0\xAA\xAA\x96\x28\0\0\0\x03PLTE\xFF\0\0"
    "\x19\xE2\x09\x37"
    "\0\0\0\x0BIDAT\x08\xD7\x63\x60\x80\0\0\0\x08\0\x01\x2F\x20\xDD\x31\0\0\0\0IEND\xAE\x42\x60\x82"s;
const std::string kJpeg = "\xFF\xD8\xFF\xDB\0\x43\0"s + std::string(64, '\x01') +
                          "\xFF\xC0\0\x0B\x08\0\x01\0\x01\x01\x01\x11\0"
                          "\xFF\xC4\0\x14\0\x01"s +
                          std::string(17, '\0') + "\xFF\xC4\0\x14\x10\x01"s + std::string(17, '\0') +
                          "\xFF\xDA\0\x08\x01\x01\0\0\x3F\0\x3F\xFF\xD9"s;
const std::string kGif =
    "GIF89a\x01\0\x01\0\xF0\0\0\0\0\xFF\0\0\0!\xF9\x04\0\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;"s;
const std::string kSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4"><rect width="4" height="4"/></svg>)";

// No picture: a gallery that took it would give it an <img> of no size.
const std::string kText = "<b>bold</b> & caf\xC3\xA9\n";

test::ProcessResult validate(const std::string& page) {
    return test::runProcess(HTML_VALIDATE, {"--config", HTML_VALIDATE_CONFIG, page});
}

std::vector<std::string> presets() {
    std::istringstream names(test::runProcess(TABULON_CLI, {"--list-presets"}).out);
    std::vector<std::string> list;
    for (std::string name; std::getline(names, name);)
        list.push_back(name);
    return list;
}

TEST(Pages, EveryPresetMakesAPageTheValidatorAccepts) {
    test::TempDir dir;
    const std::string pics = dir / "My pictures";
    std::filesystem::create_directories(pics);
    const std::pair<const char*, const std::string*> files[] = {
        {"a b.png", &kPng},         {"Tom & Ann.JPG", &kJpeg}, {"#1.gif", &kGif},
        {"100%.svg", &kSvg},        {"\"q\" 'r'.png", &kPng},  {"caf\xC3\xA9 \xC3\x89t\xC3\xA9.jpeg", &kJpeg},
        {"<b>bold</b>.png", &kPng}, {"notes.txt", &kText},     {"README", &kText},
    };
    for (const auto& [name, bytes] : files)
        dir.write("My pictures/"s + name, *bytes);

    const std::vector<std::string> names = presets();
    ASSERT_GE(names.size(), 5u);
    for (const std::string& preset : names) {
        const std::string page = dir / (preset + ".html");
        const test::ProcessResult made =
            test::runProcess(TABULON_CLI, {"--preset", preset, "--page", "-o", page, pics});
        ASSERT_EQ(made.exitCode, 0) << preset << ": " << made.err;
        const test::ProcessResult checked = validate(page);
        EXPECT_EQ(checked.exitCode, 0) << preset << ":\n"
                                       << checked.out << checked.err << test::readAll(page);
    }

    // The validator does find faults: a style element in the body is one.
    const std::string bad =
        dir.write("bad.html", "<!DOCTYPE html><html lang=\"en\"><head><title>t</title></head>"
                              "<body><style>p{}</style></body></html>");
    EXPECT_NE(validate(bad).exitCode, 0);
}

} // namespace
} // namespace tabulon
