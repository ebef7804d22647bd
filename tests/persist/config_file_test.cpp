#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>

#include "persist/config_file.h"
#include "support/fifo_watchdog.h"
#include "support/resource_limit.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

// Whatever the old file held goes.
TEST(Configuration, SavedFilesHoldTheSevenKeysInOrderAndNothingElse) {
    test::TempDir dir;
    const std::string file = dir.write("c.ini", "[Other]\nx=1\n[Configuration]\nextra=2\n");
    ASSERT_TRUE(saveConfiguration(file, initialTemplateSet()).ok());
    EXPECT_EQ(test::readAll(file), "[Configuration]\r\n"
                                   "txtWidth=4\r\n"
                                   "cbTextTop=<table border=\"0\"><tr>{{CRLF}}\r\n"
                                   "cbTextBottom={{CRLF}}</tr></table>{{CRLF}}\r\n"
                                   "cbTextNewRow=</tr><tr>{{CRLF}}\r\n"
                                   "cbTextNewEntry=<td>{{FILE}}</td>\r\n"
                                   "cbTextEndEntry={{CRLF}}\r\n"
                                   "chkAddComments=1\r\n");
}

// Texts missing from the file become empty; the check keeps its state unless the value is valid.
TEST(Configuration, LoadingReadsTheSetAndTheExtraKeysAndEmptiesWhatIsAbsent) {
    struct Case {
        std::string lines;
        int addComments;
        ConfigExtras extras;
    };
    const Case cases[] = {
        {"chkAddComments=\n", kChecked, {}},
        {"chkAddComments=yes\n", kChecked, {}},
        {"chkAddComments=3\n", kChecked, {}},
        {"chkAddComments=2\n", kGrayed, {}},
        {"chkAddComments=0\nFiles=*.jpg;*.PNG\nStyle=img{width:100%}{{CRLF}}p{}\nLeaveOutUnsized=1\n"
         "Script=go();{{CRLF}}\nNewFolder=<h2>{{CRLF}}\nRelativeTo=..\n",
         kUnchecked,
         {"*.jpg;*.PNG", "img{width:100%}{{CRLF}}p{}", true, "go();{{CRLF}}", "<h2>{{CRLF}}", ".."}},
        {"Style=\nLeaveOutUnsized=yes\n", kChecked, {}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string file =
            dir.write("c.ini", "[Configuration]\ntxtWidth=wide\ncbTextTop=T\n" + c.lines);
        TemplateSet set = initialTemplateSet();
        ConfigExtras extras{"*.old", "old{}", true, "old();", "old", "old"};
        ASSERT_TRUE(loadConfiguration(file, set, extras).ok());
        EXPECT_EQ(set.addComments, c.addComments) << c.lines;
        EXPECT_EQ(std::tie(set.width, set.top, set.bottom), std::tuple("wide", "T", "")) << c.lines;
        EXPECT_EQ(extras, c.extras) << c.lines;
    }
}

TEST(Configuration, AFileThatCannotBeReadChangesNothing) {
    test::TempDir dir;
    const std::string fifo = dir / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const test::FifoWatchdog watchdog(fifo);
    // Not the initial set: a load that fell back to it would show.
    TemplateSet before = initialTemplateSet();
    before.top = "<ul>";
    before.addComments = kGrayed;
    for (const std::string& path : {dir / "missing.ini", dir.path().string(), fifo}) {
        TemplateSet set = before;
        const IoResult result = loadConfiguration(path, set);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().file, path);
        EXPECT_EQ(set, before);
    }
    EXPECT_FALSE(watchdog.released());
}

TEST(Configuration, AFailedSaveLeavesTheOldFileWhole) {
    test::TempDir dir;
    const std::string file = dir.write("c.ini", "old configuration");
    TemplateSet big = initialTemplateSet();
    big.top = std::string(100000, 'x');
    {
        const test::ResourceLimit limit(RLIMIT_FSIZE, 4096);
        const IoResult result = saveConfiguration(file, big);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error().message().find("c.ini"), std::string::npos);
    }
    EXPECT_EQ(test::readAll(file), "old configuration");
    EXPECT_FALSE(saveConfiguration(dir / "missing/c.ini", big).ok());
}

} // namespace
} // namespace tabulon
