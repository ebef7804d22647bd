#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace tabulon::cli {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
    return ParseOptions(args);
}

TEST(Options, ValuesComeInEveryUsualSpelling) {
    const ParsedOptions p = Parse({"-w",
                                   "3",
                                   "--top=T",
                                   "--bottom",
                                   "B",
                                   "-cconf.ini",
                                   "--entry",
                                   "-x-",
                                   "a.jpg",
                                   "--end-entry=",
                                   "--new-row",
                                   "|",
                                   "-f",
                                   "-",
                                   "--files-from=l.txt",
                                   "-0",
                                   "--no-comments",
                                   "-o",
                                   "out",
                                   "--",
                                   "--top",
                                   "-"});
    ASSERT_EQ(p.error, "");
    const Options& o = p.options;
    EXPECT_EQ(o.width, "3");
    EXPECT_EQ(o.top, "T");
    EXPECT_EQ(o.bottom, "B");
    EXPECT_EQ(o.config, "conf.ini");
    EXPECT_EQ(o.entry, "-x-");
    EXPECT_EQ(o.endEntry, "");
    EXPECT_EQ(o.newRow, "|");
    EXPECT_EQ(o.filesFrom, (std::vector<std::string>{"-", "l.txt"}));
    EXPECT_TRUE(o.nullSeparated);
    EXPECT_EQ(o.comments, kUnchecked);
    EXPECT_EQ(o.output, "out");
    EXPECT_EQ(o.files, (std::vector<std::string>{"a.jpg", "--top", "-"}));
}

TEST(Options, OptionsOverTheSetReplaceOnlyWhatTheyName) {
    const ParsedOptions p = Parse({"--entry", "E", "--comments"});
    TemplateSet set = InitialTemplateSet();
    set.addComments = kGrayed;
    p.options.ApplyTo(set);
    TemplateSet expected = InitialTemplateSet();
    expected.newEntry = "E";
    EXPECT_EQ(set, expected);
}

TEST(Options, MistakesAreUsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string_view>>{
             {"--bogus"}, {"-x"}, {"--width"}, {"-f"}, {"--help=yes"}, {"-0"}, {"--comments=1"}}) {
        EXPECT_NE(Parse(args).error, "") << args.front();
    }
}

} // namespace
} // namespace tabulon::cli
