#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/entries_only.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

// The folder a page's relative names start from: where -o puts it, moved by
// a configuration's RelativeTo=, or as --relative-to says over both.
TEST(RelativeTo, NamesStartFromThePagesFolder) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "site");
    const std::string up = dir.write("up.ini", "[Configuration]\nRelativeTo=..\n");
    const std::string pics = dir.write("pics.ini", "[Configuration]\nRelativeTo=" + dir / "site/pics" + "\n");
    const std::string name = "./site//pics/a.jpg";
    struct Case {
        std::vector<std::string> args;
        std::string entry;
    };
    const Case cases[] = {
        {{name}, "site/pics/a.jpg"},
        {{"-o", "site/index.html", name}, "pics/a.jpg"},
        {{"-o", "site/index.html", "-c", up, name}, "site/pics/a.jpg"},
        {{"-o", "site/index.html", "-c", pics, dir / "site/pics/a.jpg"}, "a.jpg"},
        {{"-o", "site/index.html", "-c", up, "--relative-to", "elsewhere", name}, "../site/pics/a.jpg"},
        {{"--relative-to", dir / "site", dir / "site/pics/a.jpg"}, "pics/a.jpg"},
    };
    for (const Case& c : cases) {
        const test::ProcessResult r = test::entriesOnly("{{FILE:rel}}", c.args, {}, dir.path().string());
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const bool toFile = c.args.front() == "-o";
        EXPECT_EQ(toFile ? test::readAll(dir / "site/index.html") : r.out, c.entry) << c.args.back();
    }
}

} // namespace
} // namespace tabulon
