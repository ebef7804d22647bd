#include "cli/cli_options.h"

#include "posix/option_table.h"

namespace tabulon::cli {

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

// In the order of --help. A flag given a value ("--hidden=1") is not understood.
constexpr OptionRow<Options> kOptions[] = {
    {.shortName = 'c',
     .longName = "config",
     .valueName = "FILE",
     .apply = setText<&Options::config>,
     .help = "start from a configuration file saved by the window"},
    {.shortName = 'w',
     .longName = "width",
     .valueName = "N",
     .apply = setText<&Options::width>,
     .help = "entries per row"},
    {.longName = "top", .valueName = "TEXT", .apply = setText<&Options::top>, .sharesLine = "  "},
    {.longName = "bottom", .valueName = "TEXT", .apply = setText<&Options::bottom>, .sharesLine = "  "},
    {.longName = "entry", .valueName = "TEXT", .apply = setText<&Options::entry>, .sharesLine = "  "},
    {.longName = "end-entry", .valueName = "TEXT", .apply = setText<&Options::endEntry>, .sharesLine = "  "},
    {.longName = "new-row", .valueName = "TEXT", .apply = setText<&Options::newRow>},
    {.longName = "comments", .apply = setComments<kChecked>, .sharesLine = " | "},
    {.longName = "no-comments", .apply = setComments<kUnchecked>},
    {.longName = "new-folder",
     .valueName = "TEXT",
     .apply = setText<&Options::newFolder>,
     .help = "written before the first entry of each folder, over the preset's or\n"
             "configuration's NewFolder= key; {{FOLDER}}, {{FOLDERNAME}} and\n"
             "{{FOLDERCOUNT}} (its entries) stand in it"},
    {.shortName = 'f',
     .longName = "files-from",
     .valueName = "FILE",
     .apply = addList,
     .help = "read file names from FILE, one a line ('-' reads standard input);\n"
             "blank lines are skipped and a CR before the line end is dropped"},
    {.shortName = '0',
     .longName = "null",
     .apply = setFlag<&Options::nullSeparated>,
     .help = "with --files-from: names are separated by NUL characters instead"},
    {.shortName = 'o',
     .longName = "output",
     .valueName = "FILE",
     .apply = setText<&Options::output>,
     .help = "write the result to FILE, replaced atomically, instead of standard output;\n"
             "other hard links to FILE keep the old contents"},
    {.longName = "page",
     .apply = setFlag<&Options::page>,
     .help = "write a whole HTML page around the list, with the style of the\n"
             "preset's or configuration's Style= key in its head"},
    {.longName = "title",
     .valueName = "TEXT",
     .apply = setText<&Options::title>,
     .help = "the page's title; by default the name of the first folder given, or\n"
             "of the first file's folder (the current folder for names from lists)"},
    {.longName = "lang",
     .valueName = "CODE",
     .apply = setText<&Options::lang>,
     .help = "the page's language (default: en)"},
    {.longName = "relative-to",
     .valueName = "DIR",
     .apply = setText<&Options::relativeTo>,
     .help = "the folder the page will be in, which the :rel forms name files from\n"
             "(default: the folder of -o, else the current folder, and from there\n"
             "the configuration's RelativeTo= key)"},
    {.shortName = 'r',
     .longName = "recursive",
     .apply = setFlag<&Options::recursive>,
     .help = "a folder given as FILE lists its subfolders' files too"},
    {.longName = "hidden",
     .apply = setFlag<&Options::hidden>,
     .help = "list hidden files and folders (names starting with '.') too"},
    {.longName = "include",
     .valueName = "PATTERNS",
     .apply = addPatterns<&Options::include>,
     .help = "of the files found in folders, list only those whose names match one\n"
             "of the patterns, separated by ';' as in '*.jpg;*.png' (any letter case);\n"
             "without it, a preset's or configuration's Files= key says which"},
    {.longName = "exclude",
     .valueName = "PATTERNS",
     .apply = addPatterns<&Options::exclude>,
     .help = "leave out the files found in folders whose names match; wins over\n"
             "--include, --images and Files="},
    {.longName = "images",
     .apply = setFlag<&Options::images>,
     .help = "the picture types a browser shows (jpg, jpeg, png, gif, webp, avif,\n"
             "svg, bmp, ico), added to those of --include"},
    {.longName = "sort",
     .valueName = "KEY",
     .apply = setText<&Options::sort>,
     .help = "none (the order given; a folder's own files in natural order),\n"
             "name (bytes), natural (as people read: img2 before img10, any\n"
             "letter case, e with é; a folder's files before its subfolders'),\n"
             "date, size or taken (the day a photo was taken, as {{TAKEN}})"},
    {.longName = "reverse", .apply = setFlag<&Options::reverse>, .help = "the other way round"},
    {.longName = "thumb-dir",
     .valueName = "NAME",
     .apply = setText<&Options::thumbDir>,
     .help = "the folder made beside each picture for its thumbnails (default: thumbs)"},
    {.longName = "thumb-format",
     .valueName = "F",
     .apply = setText<&Options::thumbFormat>,
     .help = "same (TIFF and HEIF become JPEG; GIF, BMP and other types PNG), jpg, png, webp or avif"},
    {.shortName = 'j',
     .longName = "jobs",
     .valueName = "N",
     .apply = setText<&Options::jobs>,
     .help = "threads that make thumbnails, each with a decoder process of its own\n"
             "(default: one per core, as many as the memory holds)"},
    {.longName = "unsafe-decoding",
     .apply = setFlag<&Options::unsafeDecoding>,
     .help = "where this system cannot give the decoders their sandbox, read the\n"
             "pictures without it rather than refuse: a crafted picture could then\n"
             "read, change or send away your files"},
    {.longName = "prune-thumbs",
     .apply = setFlag<&Options::pruneThumbs>,
     .help = "delete the thumbnails of pictures that are gone, in the thumbnail\n"
             "folders Tabulon made that the list used or its folder walks passed"},
    {.longName = "preset",
     .valueName = "NAME",
     .apply = setText<&Options::preset>,
     .help = "start from a shipped preset (before --config); --list-presets names them"},
    {.longName = "list-presets", .apply = setFlag<&Options::listPresets>, .listed = false},
    {.shortName = 'h', .longName = "help", .apply = setFlag<&Options::help>, .sharesLine = "    "},
    {.longName = "version", .apply = setFlag<&Options::version>},
};

constexpr OptionTable<Options> kTable(kOptions, Dashes::AreOperands,
                                      HelpLayout{.column = 26, .alignLongNames = true});

constexpr const char* kHelpStart = R"(Usage: tabulon-cli [OPTIONS] [FILE...]
Writes a list of the files (by default an HTML table) from templates.

)";

constexpr const char* kPlaceholderHelp =
    R"(Placeholders in the entry texts: {{FILE}} {{PATH}} {{BASE}} {{EXT}} {{SHORTEXT}}
{{INC}} (the file's text) {{INC(name)}} (another file's text); {{CRLF}} in every text.
Escaped for HTML or for links: {{FILE:html}} {{FILE:url}}, likewise PATH, BASE, EXT,
SHORTEXT, INC and INC(name). {{WIDTH}} {{HEIGHT}} (an image's pixels: PNG, JPEG, GIF, BMP, WebP,
ICO, AVIF, HEIF, TIFF, SVG), {{SIZE}} (bytes), {{DATE}} (YYYY-MM-DD), {{N}} {{ROW}} {{COL}}
(counted from 1).
Pictures: {{THUMB(n)}} (a thumbnail whose longer side is n pixels, named as thumbs/a.gif-240.png,
made again when the picture changes) {{THUMBWIDTH(n)}} {{THUMBHEIGHT(n)}}, {{TAKEN}} (YYYY-MM-DD,
else the file's date), {{CAPTION}}, {{ALT}} (the caption, else BASE), {{META(key)}} (any Exiv2
key, e.g. Exif.Image.Model); each also :html and :url.
Folders: {{FOLDER}} ({{PATH}} without its last '/', else .) {{FOLDERNAME}} (its last name),
each also :html and :url, in the entry texts and in --new-folder's.
Relative to the page's folder (--relative-to): {{FILE:rel}}, likewise PATH (empty for the
page's own folder), THUMB(n) and FOLDER, escaped after it as in {{THUMB(240):rel:url}}.
)";

} // namespace

const std::string& usage() {
    static const std::string text = kHelpStart + kTable.help() + "\n" + kPlaceholderHelp;
    return text;
}

ParsedOptions parseOptions(const std::vector<std::string_view>& args) {
    Options o;
    std::optional<std::string> wrong;
    kTable.read(
        args, o, [&o](std::string_view file) { o.files.emplace_back(file); },
        [&wrong](const ArgumentError& error) {
            const std::string arg(error.argument);
            wrong = error.kind == ArgumentError::Kind::UnknownOption ? "unknown option '" + arg + "'"
                                                                     : "option '" + arg + "' needs a value";
            return false;
        });
    if (wrong)
        return *wrong;
    if (o.nullSeparated && o.filesFrom.empty())
        return std::string("--null goes with --files-from");
    if (o.relativeTo && o.relativeTo->empty())
        return std::string("--relative-to takes a folder");
    if ((o.title || o.lang) && !o.page)
        return std::string(o.title ? "--title" : "--lang") + " goes with --page";
    return o;
}

} // namespace tabulon::cli
