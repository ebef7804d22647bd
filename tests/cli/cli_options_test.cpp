#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_options.h"
#include "listgen/placeholders.h"

namespace tabulon::cli {
namespace {

// What the options hold, the unset ones left out: "width=3 file:a null". Only
// those the parser's own rules touch: where the others go, the program's runs show.
std::string describe(const Options& o) {
    std::string text;
    const auto add = [&](const std::string& part) { text += (text.empty() ? "" : " ") + part; };
    const std::pair<const char*, const std::optional<std::string>*> values[] = {{"config", &o.config},
                                                                                {"width", &o.width},
                                                                                {"top", &o.top},
                                                                                {"bottom", &o.bottom},
                                                                                {"entry", &o.entry}};
    for (const auto& [name, value] : values) {
        if (*value)
            add(std::string(name) + "=" + **value);
    }
    if (o.comments)
        add("comments=" + std::to_string(*o.comments));
    for (const std::string& file : o.files)
        add("file:" + file);
    for (const std::string& list : o.filesFrom)
        add("list:" + list);
    for (const auto& [name, set] :
         {std::pair{"null", o.nullSeparated}, {"help", o.help}, {"version", o.version}}) {
        if (set)
            add(name);
    }
    return text;
}

TEST(CliOptions, EachOptionIsReadAsItsTableLineSays) {
    struct Case {
        std::vector<std::string_view> args;
        std::string options; // when understood
        std::string error;   // when not
    };
    const Case cases[] = {
        {{"-w3", "--top=", "--entry", "--x", "a"}, "width=3 top= entry=--x file:a", ""},
        {{"-c", "a.ini", "--config=b.ini", "--bottom", "="}, "config=b.ini bottom==", ""},
        {{"--", "-r", "--help"}, "file:-r file:--help", ""},
        {{"-", "-f", "-", "--files-from=l", "-0"}, "file:- list:- list:l null", ""},
        {{"--comments", "--no-comments"}, "comments=0", ""},
        {{"--no-comments", "--comments"}, "comments=1", ""},
        {{"-h", "--version"}, "help version", ""},
        // A language belongs to a page.
        {{"--lang", "de"}, "", "--lang goes with --page"},
        // A flag takes no value, and names are never abbreviated.
        {{"--hidden=1"}, "", "unknown option '--hidden=1'"},
        {{"-rx"}, "", "unknown option '-rx'"},
        {{"--comments="}, "", "unknown option '--comments='"},
        {{"--conf=a"}, "", "unknown option '--conf=a'"},
        {{"-x"}, "", "unknown option '-x'"},
        {{"--=a"}, "", "unknown option '--=a'"},
        {{"a", "--top"}, "", "option '--top' needs a value"},
        {{"-w"}, "", "option '-w' needs a value"},
        {{"-0"}, "", "--null goes with --files-from"},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = parseOptions(c.args);
        if (c.error.empty()) {
            ASSERT_TRUE(parsed.ok()) << c.args.front() << ": " << parsed.error();
            EXPECT_EQ(describe(parsed.value()), c.options) << c.args.front();
        } else {
            ASSERT_FALSE(parsed.ok()) << c.args.front();
            EXPECT_EQ(parsed.error(), c.error) << c.args.front();
        }
    }
}

// --help's placeholder lines are prose written by hand; the table is what
// the engine knows. Each names every placeholder, and nothing else.
TEST(CliOptions, HelpNamesEveryPlaceholderOfTheTableAndNoOther) {
    const std::string_view help = usage();
    for (const PlaceholderTraits& row : kPlaceholderTable) {
        const std::string named =
            "{{" + std::string(row.name) + (row.argument == PlaceholderArgument::None ? "}}" : "(");
        EXPECT_NE(help.find(named), std::string_view::npos) << named;
    }
    for (std::size_t at = help.find("{{"); at != std::string_view::npos; at = help.find("{{", at + 2)) {
        const std::string_view name = help.substr(at + 2, help.find_first_of("}:(", at) - at - 2);
        const bool known =
            name == "CRLF" || std::any_of(kPlaceholderTable.begin(), kPlaceholderTable.end(),
                                          [name](const auto& row) { return row.name == name; });
        EXPECT_TRUE(known) << name;
    }
}

TEST(CliOptions, HelpSetsOutEachOptionBesideItsNames) {
    const std::string& help = usage();
    for (const char* lines :
         {"\n\n  -c, --config FILE       start from a configuration file saved by the window\n"
          "  -w, --width N           entries per row\n"
          "      --top TEXT  --bottom TEXT  --entry TEXT  --end-entry TEXT  --new-row TEXT\n"
          "      --comments | --no-comments\n",
          "\n  -o, --output FILE       write the result to FILE, replaced atomically, instead of standard "
          "output;\n"
          "                          other hard links to FILE keep the old contents\n      --page  ",
          "; --list-presets names them\n  -h, --help    --version\n\nPlaceholders"})
        EXPECT_NE(help.find(lines), std::string::npos) << lines;
    EXPECT_EQ(help.find("\n      --list-presets"), std::string::npos);
}

} // namespace
} // namespace tabulon::cli
