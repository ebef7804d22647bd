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
      --page              write a whole HTML page around the list, with the style of the
                          preset's or configuration's Style= key in its head
      --title TEXT        the page's title; by default the name of the first folder given, or
                          of the first file's folder (the current folder for names from lists)
      --lang CODE         the page's language (default: en)
  -r, --recursive         a folder given as FILE lists its subfolders' files too
      --hidden            list hidden files and folders (names starting with '.') too
      --include PATTERNS  of the files found in folders, list only those whose names match one
                          of the patterns, separated by ';' as in '*.jpg;*.png' (any letter case);
                          without it, a preset's or configuration's Files= key says which
      --exclude PATTERNS  leave out the files found in folders whose names match; wins over
                          --include, --images and Files=
      --images            the picture types a browser shows (jpg, jpeg, png, gif, webp, avif,
                          svg, bmp, ico), added to those of --include
      --sort KEY          none (the order given; a folder's own files in natural order),
                          name (bytes), natural (as people read: img2 before img10, any
                          letter case, e with é; a folder's files before its subfolders'),
                          date, size or taken (the day a photo was taken, as {{TAKEN}})
      --reverse           the other way round
      --thumb-dir NAME    the folder made beside each picture for its thumbnails (default: thumbs)
      --thumb-format F    same (GIF, BMP and other types become PNG), jpg, png, webp or avif
  -j, --jobs N            threads that make thumbnails (default: one per core)
      --prune-thumbs      delete the thumbnails of pictures that are gone, in the thumbnail
                          folders Tabulon made that the list used or its folder walks passed
      --preset NAME       start from a shipped preset (before --config); --list-presets names them
  -h, --help    --version

Placeholders in the entry texts: {{FILE}} {{PATH}} {{BASE}} {{EXT}} {{SHORTEXT}}
{{INC}} (the file's text) {{INC(name)}} (another file's text); {{CRLF}} in every text.
Escaped for HTML or for links: {{FILE:html}} {{FILE:url}}, likewise PATH, BASE, EXT,
SHORTEXT, INC and INC(name). {{WIDTH}} {{HEIGHT}} (an image's pixels: PNG, JPEG, GIF, BMP, WebP,
ICO, AVIF, HEIF, TIFF, SVG), {{SIZE}} (bytes), {{DATE}} (YYYY-MM-DD), {{N}} {{ROW}} {{COL}}
(counted from 1).
Pictures: {{THUMB(n)}} (a thumbnail whose longer side is n pixels, named as thumbs/a.gif-240.png,
made again when the picture changes) {{THUMBWIDTH(n)}} {{THUMBHEIGHT(n)}}, {{TAKEN}} (YYYY-MM-DD,
else the file's date), {{CAPTION}}, {{META(key)}} (any Exiv2 key, e.g. Exif.Image.Model); each also
:html and :url.
)";

void Options::applyTo(TemplateSet& set) const {
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

// One line per option: its names, whether it takes a value, and what it sets.
// A flag given a value ("--hidden=1") is not understood.
struct OptionRule {
    char shortName; // 0: none
    std::string_view longName;
    bool takesValue;
    void (*apply)(Options& options, std::string_view value); // value empty for a flag
};

template <std::optional<std::string> Options::*field> void setText(Options& options, std::string_view value) {
    options.*field = std::string(value);
}

template <bool Options::*field> void setFlag(Options& options, std::string_view) {
    options.*field = true;
}

// Patterns given several times add up.
template <std::optional<std::string> Options::*field>
void addPatterns(Options& options, std::string_view value) {
    std::optional<std::string>& patterns = options.*field;
    patterns = patterns ? *patterns + ";" + std::string(value) : std::string(value);
}

template <int state> void setComments(Options& options, std::string_view) {
    options.comments = state;
}

void addList(Options& options, std::string_view path) {
    options.filesFrom.emplace_back(path);
}

constexpr OptionRule kOptions[] = {
    // Where the templates come from.
    {0, "preset", true, setText<&Options::preset>},
    {'c', "config", true, setText<&Options::config>},
    {'w', "width", true, setText<&Options::width>},
    {0, "comments", false, setComments<kChecked>},
    {0, "no-comments", false, setComments<kUnchecked>},
    // The templates' texts.
    {0, "top", true, setText<&Options::top>},
    {0, "bottom", true, setText<&Options::bottom>},
    {0, "entry", true, setText<&Options::entry>},
    {0, "end-entry", true, setText<&Options::endEntry>},
    {0, "new-row", true, setText<&Options::newRow>},
    // Which files, in which order.
    {'f', "files-from", true, addList},
    {'0', "null", false, setFlag<&Options::nullSeparated>},
    {'r', "recursive", false, setFlag<&Options::recursive>},
    {0, "hidden", false, setFlag<&Options::hidden>},
    {0, "include", true, addPatterns<&Options::include>},
    {0, "exclude", true, addPatterns<&Options::exclude>},
    {0, "images", false, setFlag<&Options::images>},
    {0, "sort", true, setText<&Options::sort>},
    {0, "reverse", false, setFlag<&Options::reverse>},
    // Thumbnails.
    {0, "thumb-dir", true, setText<&Options::thumbDir>},
    {0, "thumb-format", true, setText<&Options::thumbFormat>},
    {'j', "jobs", true, setText<&Options::jobs>},
    {0, "prune-thumbs", false, setFlag<&Options::pruneThumbs>},
    // Where the list goes, or what is asked instead.
    {'o', "output", true, setText<&Options::output>},
    {0, "page", false, setFlag<&Options::page>},
    {0, "title", true, setText<&Options::title>},
    {0, "lang", true, setText<&Options::lang>},
    {0, "list-presets", false, setFlag<&Options::listPresets>},
    {'h', "help", false, setFlag<&Options::help>},
    {0, "version", false, setFlag<&Options::version>},
};

// The option named by "-x" (shortName set) or "--name" (shortName 0).
const OptionRule* findOption(char shortName, std::string_view longName) {
    for (const OptionRule& option : kOptions) {
        if (shortName != 0 ? option.shortName == shortName : option.longName == longName)
            return &option;
    }
    return nullptr;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string_view>& args) {
    Options o;

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
        std::optional<std::string_view> value;
        char shortName = 0;
        if (arg.starts_with("--")) {
            name = arg.substr(2);
            if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        } else {
            shortName = arg[1];
            if (arg.size() > 2)
                value = arg.substr(2);
        }

        const OptionRule* option = findOption(shortName, name);
        if (option == nullptr || (value && !option->takesValue))
            return "unknown option '" + std::string(arg) + "'";
        if (option->takesValue && !value) {
            if (i + 1 >= args.size())
                return "option '" + std::string(arg) + "' needs a value";
            value = args[++i];
        }
        option->apply(o, value.value_or(std::string_view()));
    }
    if (o.nullSeparated && o.filesFrom.empty())
        return std::string("--null goes with --files-from");
    if ((o.title || o.lang) && !o.page)
        return std::string(o.title ? "--title" : "--lang") + " goes with --page";
    return o;
}

} // namespace tabulon::cli
