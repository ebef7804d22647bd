#include "cli/cli_options.h"

namespace tabulon::cli {

const char* const kUsage = R"(Usage: tabulon-cli [OPTIONS] [FILE...]
Writes a list of the files (by default an HTML table) from templates.

  -c, --config FILE       start from a configuration file saved by the window
  -w, --width N           entries per row
      --top TEXT  --bottom TEXT  --entry TEXT  --end-entry TEXT  --new-row TEXT
      --comments | --no-comments
  -f, --files-from FILE   read file names from FILE, one a line ('-' reads standard input);
                          blank lines are skipped and a CR before the line end is dropped
  -0, --null              with --files-from: names are separated by NUL characters instead
  -o, --output FILE       write the result to FILE, replaced atomically, instead of standard output;
                          other hard links to FILE keep the old contents
  -r, --recursive         a folder given as FILE lists its subfolders' files too
      --hidden            list hidden files and folders (names starting with '.') too
      --sort KEY          none (the order given; a folder's own files in natural order),
                          name, natural (img2 before img10), date or size
      --reverse           the other way round
      --preset NAME       start from a shipped preset (before --config); --list-presets names them
  -h, --help    --version

Placeholders in the entry texts: {{FILE}} {{PATH}} {{BASE}} {{EXT}} {{SHORTEXT}}
{{INC}} (the file's text) {{INC(name)}} (another file's text); {{CRLF}} in every text.
Escaped for HTML or for links: {{FILE:html}} {{FILE:url}}, likewise PATH, BASE, EXT,
SHORTEXT and INC. {{WIDTH}} {{HEIGHT}} (an image's pixels: PNG, JPEG, GIF, BMP, WebP,
SVG), {{SIZE}} (bytes), {{DATE}} (YYYY-MM-DD), {{N}} {{ROW}} {{COL}} (counted from 1).
)";

void Options::ApplyTo(TemplateSet& set) const {
    const auto take = [](const std::optional<std::string>& from, std::string& to) {
        if (from)
            to = *from;
    };
    take(width, set.width);
    take(top, set.top);
    take(bottom, set.bottom);
    take(entry, set.newEntry);
    take(endEntry, set.endEntry);
    take(newRow, set.newRow);
    if (comments)
        set.addComments = *comments;
}

namespace {

struct ValueOption {
    char shortName; // 0: none
    std::string_view longName;
    std::optional<std::string> Options::*target;
};

const ValueOption kValueOptions[] = {
    {'c', "config", &Options::config}, {'w', "width", &Options::width},
    {0, "top", &Options::top},         {0, "bottom", &Options::bottom},
    {0, "entry", &Options::entry},     {0, "end-entry", &Options::endEntry},
    {0, "new-row", &Options::newRow},  {'o', "output", &Options::output},
    {0, "sort", &Options::sort},       {0, "preset", &Options::preset},
};

} // namespace

ParsedOptions ParseOptions(const std::vector<std::string_view>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    const auto fail = [&](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };

    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (onlyFiles || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            o.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }

        // Split "--name=value" and "-xVALUE".
        std::string_view name;
        std::optional<std::string_view> inlineValue;
        char shortName = 0;
        if (arg.starts_with("--")) {
            name = arg.substr(2);
            if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        } else {
            shortName = arg[1];
            if (arg.size() > 2)
                inlineValue = arg.substr(2);
        }
        const auto is = [&](char s, std::string_view l) {
            return (shortName != 0 && shortName == s) || (shortName == 0 && name == l);
        };
        const auto flag = [&](bool& target) {
            if (inlineValue)
                return false;
            target = true;
            return true;
        };

        bool known = false;
        for (const ValueOption& option : kValueOptions) {
            if (!is(option.shortName, option.longName))
                continue;
            known = true;
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    return fail("option '" + std::string(arg) + "' needs a value");
                inlineValue = args[++i];
            }
            o.*option.target = std::string(*inlineValue);
        }
        if (known)
            continue;

        if (is('f', "files-from")) {
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    return fail("option '" + std::string(arg) + "' needs a value");
                inlineValue = args[++i];
            }
            o.filesFrom.emplace_back(*inlineValue);
        } else if (is(0, "comments") && !inlineValue) {
            o.comments = kChecked;
        } else if (is(0, "no-comments") && !inlineValue) {
            o.comments = kUnchecked;
        } else if (!(is('0', "null") && flag(o.nullSeparated)) && !(is('h', "help") && flag(o.help)) &&
                   !(is(0, "version") && flag(o.version)) && !(is('r', "recursive") && flag(o.recursive)) &&
                   !(is(0, "hidden") && flag(o.hidden)) && !(is(0, "reverse") && flag(o.reverse)) &&
                   !(is(0, "list-presets") && flag(o.listPresets))) {
            return fail("unknown option '" + std::string(arg) + "'");
        }
    }
    if (o.nullSeparated && o.filesFrom.empty())
        return fail("--null goes with --files-from");
    return parsed;
}

} // namespace tabulon::cli
