#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/preset_names.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using namespace test; // the tiny pictures

// No picture: a gallery that took it would give it an <img> of no size.
const std::string kText = "<b>bold</b> & caf\xC3\xA9\n";
// A picture of no size, which no thumbnail can be made of.
const std::string kNothing;

test::ProcessResult validate(const std::string& page) {
    return test::runProcess(HTML_VALIDATE, {"--config", HTML_VALIDATE_CONFIG, page});
}

TEST(Pages, EveryPresetMakesAPageTheValidatorAccepts) {
    test::TempDir dir;
    const std::string pics = dir / "My pictures";
    std::filesystem::create_directories(pics);
    const std::pair<const char*, const std::string*> files[] = {
        {"a b.png", &kPng},         {"Tom & Ann.JPG", &kJpeg}, {"#1.gif", &kGif},
        {"100%.svg", &kSvg},        {"\"q\" 'r'.png", &kPng},  {"caf\xC3\xA9 \xC3\x89t\xC3\xA9.jpeg", &kJpeg},
        {"<b>bold</b>.png", &kPng}, {"icon.svg", &kIconSvg},   {"notes.txt", &kText},
        {"README", &kText},         {"empty.jpg", &kNothing},
    };
    for (const auto& [name, bytes] : files)
        dir.write("My pictures/"s + name, *bytes);

    const std::vector<std::string> names = test::presetNames();
    ASSERT_GE(names.size(), 5u);
    for (const std::string& preset : names) {
        const std::string page = dir / (preset + ".html");
        const test::ProcessResult made =
            test::runProcess(TABULON_CLI, {"--preset", preset, "--page", "-o", page, pics});
        ASSERT_EQ(made.exitCode, 0) << preset << ": " << made.err;
        const test::ProcessResult checked = validate(page);
        EXPECT_EQ(checked.exitCode, 0) << preset << ":\n"
                                       << checked.out << checked.err << test::readAll(page);
        // The validator takes src="" and width="" (a picture it cannot read) for valid.
        EXPECT_EQ(test::readAll(page).find("=\"\""), std::string::npos) << preset;
    }

    // The validator does find faults: a style element in the body is one.
    const std::string bad =
        dir.write("bad.html", "<!DOCTYPE html><html lang=\"en\"><head><title>t</title></head>"
                              "<body><style>p{}</style></body></html>");
    EXPECT_NE(validate(bad).exitCode, 0);
}

} // namespace
} // namespace tabulon
