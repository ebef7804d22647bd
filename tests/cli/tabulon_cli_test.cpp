#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include <climits>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "listgen/list_assembly.h"
#include "listgen/selection_text.h"
#include "listgen/thumbnail_folder.h"
#include "support/device_node.h"
#include "support/entries_only.h"
#include "support/resource_limit.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"
#include "tabulon/version.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

test::ProcessResult cli(const std::vector<std::string>& args, const std::string& input = {}) {
    return test::runProcess(TABULON_CLI, args, input);
}

std::string framed(const std::string& entries) {
    return "<!--Tabulon-->\r\n<table border=\"0\"><tr>\r\n" + entries +
           "\r\n</tr></table>\r\n\r\n<!--/Tabulon-->";
}

TEST(TabulonCli, WritesWhatTheWindowWouldShowByteForByte) {
    const std::vector<std::string> names = {"a.jpg", " b c.gif", "d", "e.png", "f"};
    StringSink window;
    generateList(initialTemplateSet(), 4, buildSelectionText("/pics", names), window);
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back("/pics/" + name);
    const test::ProcessResult r = cli(paths);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, window.take());
    // No files give the frame alone.
    EXPECT_EQ(cli({}).out, framed(""));
}

TEST(TabulonCli, ANameTooLongForAPathStopsTheListAtItsLine) {
    test::TempDir dir;
    const std::string longest(PATH_MAX - 1, 'n');
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string err; // empty: the whole list is written
    };
    const Case cases[] = {
        {{"-f", "-"}, "a\n" + longest + "\r\n", ""},
        {{"-f", "-"}, "a\n\n" + longest + "n\nb\n", "standard input: line 3"},
        {{"-f", dir.write("list", "a\n" + longest + "nn")}, "", dir / "list: line 2"},
        {{"-0", "-f", "-"}, "a\0"s + longest + "\0"s, ""},
        {{"-0", "-f", "-"}, "\0a\0"s + longest + "n\0"s, "standard input: entry 3"},
        // One endless name: stopped at once, not read until memory runs out.
        {{"-f", "/dev/zero"}, "", "/dev/zero: line 1"},
    };
    for (const Case& c : cases) {
        test::ProcessResult r;
        {
            const test::ResourceLimit limit(RLIMIT_AS, std::size_t{256} << 20);
            r = test::entriesOnly("{{FILE}};", c.args, c.input);
        }
        EXPECT_EQ(r.exitCode, c.err.empty() ? 0 : 1) << c.args.back();
        if (c.err.empty()) {
            EXPECT_EQ(r.out, "a;" + longest + ";");
        }
        EXPECT_EQ(r.err, c.err.empty() ? "" : "tabulon-cli: cannot read " + c.err + ": File name too long\n");
    }
}

TEST(TabulonCli, StartsFromAConfigurationOrAPresetAndTheOptionsWin) {
    test::TempDir dir;
    dir.write("c.ini", "[Configuration]\ntxtWidth=1\ncbTextTop=T\ncbTextNewEntry=<{{BASE}}>\n"
                       "cbTextNewRow=|\ncbTextBottom=B\nchkAddComments=1\n");
    const test::ProcessResult r = cli({"-c", dir / "c.ini", "--no-comments", "--bottom", "Z", "x.a", "y.b"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "T<x>|<y>Z");
    dir.write("f.ini",
              "[Configuration]\ntxtWidth=9\ncbTextNewEntry={{BASE}}\nNewFolder=[{{FOLDERCOUNT}}]{{CRLF}}\n");
    const auto inFolders = [&dir](std::vector<std::string> args) {
        args.insert(args.begin(), {"-c", dir / "f.ini", "--no-comments"});
        args.insert(args.end(), {"a/x", "a/y", "b/z"});
        return cli(args).out;
    };
    EXPECT_EQ(inFolders({}), "[2]\r\nxy[1]\r\nz");
    EXPECT_EQ(inFolders({"--new-folder={{FOLDER}}:"}), "a:xyb:z");
    EXPECT_EQ(cli({"--preset", "link-list", "--no-comments", "--top=", "--bottom=", "--relative-to=/",
                   "/p/<x>#%.png"})
                  .out,
              "  <li><a href=\"p/%3Cx%3E%23%25.png\">&lt;x&gt;#%.png</a></li>\r\n");
}

// Links, FIFOs and pipes are atomic_file's: here, that -o writes through it
// and what a device makes of the bytes.
TEST(TabulonCli, AnOutputFileIsReplacedWholeWhileDevicesAreWrittenInto) {
    // Every output named here lies in the test's own folder, so that a writer
    // that replaced what it should write into could harm nothing of the system's.
    test::TempDir dir;
    const std::string list = framed("<td>a</td>\r\n");
    dir.write("out.html", "old");
    fs::create_symlink("loop", dir / "loop");
    std::vector<std::string> targets = {"out.html", "loop"};
    const std::map<std::string, std::string> refused = {{"loop", "Too many levels of symbolic links"},
                                                        {"full", "No space left on device"}};
    const bool devices = test::memoryDevice(dir, "null", test::kNullMinor) &&
                         test::memoryDevice(dir, "full", test::kFullMinor);
    if (devices)
        targets.insert(targets.end(), {"null", "full"});
    for (const std::string& target : targets) {
        const std::string error = refused.contains(target) ? refused.at(target) : "";
        const fs::file_type kind = fs::symlink_status(dir / target).type();
        const test::ProcessResult r = cli({"-o", dir / target, "a"});
        EXPECT_EQ(fs::symlink_status(dir / target).type(), kind) << target;
        EXPECT_EQ(r.exitCode, error.empty() ? 0 : 1) << target;
        EXPECT_EQ(r.err,
                  error.empty() ? "" : "tabulon-cli: cannot write " + (dir / target) + ": " + error + "\n");
    }
    EXPECT_EQ(test::readAll(dir / "out.html"), list);
    if (!devices)
        GTEST_SKIP() << "device nodes cannot be made here; the devices are left out";
}

TEST(TabulonCli, NaturalOrderIsTheOrderPeopleExpectAndBreaksTiesOfTheOtherKeys) {
    // Written down by hand, not by a collator: é is U+00E9.
    const std::vector<std::string> expected = {"a2",        "A10",          "b",
                                               "e",         "\xC3\xA9",     "f",
                                               "img2",      "img10",        "img100",
                                               "README.md", "Tom",          "x",
                                               "folder/x",  "folder/sub/y", "folder/sub/z10"};
    test::TempDir dir;
    fs::create_directories(dir / "folder/sub");
    // All of one size and one day, so that every key ties.
    const auto day = fs::file_time_type::clock::now() - std::chrono::days(9);
    std::string want;
    std::vector<std::string> shuffled;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        want += dir.write(expected[i], "x") + ";";
        fs::last_write_time(dir / expected[i], day);
        shuffled.push_back(dir / expected[(i * 7) % expected.size()]);
    }
    const auto listed = [&](std::vector<std::string> args, const std::vector<std::string>& files = {}) {
        args.insert(args.end(), files.begin(), files.end());
        const test::ProcessResult r = test::entriesOnly("{{FILE}};", std::move(args));
        EXPECT_EQ(r.err, "");
        return r.out;
    };
    // A folder's walk, and the same names sorted wherever they come from.
    EXPECT_EQ(listed({"-r", dir.path().string()}), want);
    for (const char* key : {"natural", "size", "date", "taken"})
        EXPECT_EQ(listed({"--sort", key}, shuffled), want) << key;
    // Names that differ in case or accent only still come in one order, whatever order they are given in.
    EXPECT_EQ(listed({"--sort=natural", "E", "e", "\xC3\xA9", "e\xCC\x81", "\xC3\xA9"}),
              listed({"--sort=natural", "\xC3\xA9", "e\xCC\x81", "e", "\xC3\xA9", "E"}));
}

// A chain of `levels` folders under `top`, each with a name of 200 bytes and a
// file f in it. Built through descriptors, as no path reaches its depths.
void makeFolderChain(const std::string& top, const std::string& name, int levels) {
    ::mkdir(top.c_str(), 0755);
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 1; level <= levels; ++level) {
        ::close(::openat(fd, "f", O_WRONLY | O_CREAT, 0644));
        if (level < levels)
            ::mkdirat(fd, name.c_str(), 0755);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
}

TEST(TabulonCli, AFolderTooDeepToListWholeIsAnErrorNotAShortList) {
    test::TempDir dir;
    const std::string name(200, 'd');
    // Each level adds 201 bytes to the path: 30 levels pass PATH_MAX on the way down.
    makeFolderChain(dir / "15", name, 15);
    makeFolderChain(dir / "30", name, 30);
    const test::ProcessResult listed = test::entriesOnly("{{BASE}};", {"-r", dir / "15"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), ';'), 15);
    const test::ProcessResult tooDeep = test::entriesOnly("{{BASE}};", {"-r", dir / "30"});
    EXPECT_EQ(tooDeep.exitCode, 1);
    EXPECT_TRUE(tooDeep.err.starts_with("tabulon-cli: cannot read folder " + dir / "30/" + name))
        << tooDeep.err;
    EXPECT_TRUE(tooDeep.err.ends_with(": File name too long\n")) << tooDeep.err;
}

TEST(TabulonCli, OnlyListsInNaturalOrderNeedTheCollationModule) {
    test::TempDir prefix;
    const fs::path bin = prefix.path() / "bin";
    fs::create_directories(bin / kDataFromBin / "presets");
    fs::copy_file(TABULON_CLI, bin / "tabulon-cli");
    for (const char* preset : {"b.ini", "A.ini"})
        std::ofstream(bin / kDataFromBin / "presets" / preset) << "[Main]\n";
    const auto run = [&](std::vector<std::string> args) {
        return test::entriesOnly("{{FILE}};", std::move(args), {}, {}, (bin / "tabulon-cli").string());
    };
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--sort", "natural", "b", "a"},
                                                 {prefix.path().string()},
                                                 {"--sort=size", "b", "a"},
                                                 {"--list-presets"}}) {
        const test::ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("tabulon-cli: natural order needs the collation module: ")) << r.err;
        EXPECT_NE(r.err.find("libtabulon-collate.so: cannot open shared object file"), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(run({"b", "a"}).out, "b;a;");
    EXPECT_EQ(run({"--sort", "name", "b", "a"}).out, "a;b;");
    EXPECT_EQ(run({"--sort", "size", "b"}).out, "b;"); // no ties to break
    // Installed in the library folder, it is found there.
    const fs::path module = (bin / kModulesFromBin / "libtabulon-collate.so").lexically_normal();
    fs::create_directories(module.parent_path());
    fs::copy_file(fs::path(TABULON_CLI).parent_path() / "libtabulon-collate.so", module);
    EXPECT_EQ(run({"--sort", "natural", "b", "a"}).out, "a;b;");
    EXPECT_EQ(run({"--list-presets"}).out, "A\nb\n");
}

TEST(TabulonCli, FilesWithoutASizeAreLeftOutWhereTheConfigurationSaysSo) {
    test::TempDir dir;
    const std::vector<std::string> files = {dir.write("a.png", test::kPng), dir.write("empty.jpg", ""),
                                            dir.write("b.gif", test::kGif)};
    const std::string leaveOut = dir.write("l.ini", "[Configuration]\nLeaveOutUnsized=1\n");
    struct Case {
        std::string entry;
        std::string out;
        bool warned;
    };
    const Case cases[] = {
        {"{{N}},{{ROW}},{{COL}} {{WIDTH}}x{{HEIGHT}}", "1,1,1 3x2;2,1,2 1x1;", true},
        // Only a list that asks for sizes needs them.
        {"{{N}} {{BASE}}", "1 a;2 empty;|3 b;", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-c", leaveOut, "-w", "2", "--new-row=|"};
        args.insert(args.end(), files.begin(), files.end());
        const test::ProcessResult r = test::entriesOnly(c.entry + ";", args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, c.out) << c.entry;
        EXPECT_EQ(r.err, c.warned
                             ? "tabulon-cli: left out " + files[1] + ": its width and height cannot be read\n"
                             : "");
    }
}

TEST(TabulonCli, FoldersListTheFilesTheirTypesChooseAndListsNameThemAsTheyAre) {
    test::TempDir dir;
    fs::create_directories(dir / "pics/sub");
    fs::create_directories(dir / "walk/sub/thumbs");
    for (const char* name : {"pics/a.JPG", "pics/b.png", "pics/c.txt", "pics/notes", "pics/d.tif",
                             "pics/e.Svg", "pics/.h.png", "pics/sub/f.gif", "pics/sub/g.md", "walk/img10.jpg",
                             "walk/img2.jpg", "walk/.hidden.jpg", "walk/sub/z.jpg", "walk/sub/thumbs/y.jpg"})
        dir.write(name, "x");
    // A walk leaves out the thumbnails Tabulon made, not a user's own folder of that name.
    ASSERT_TRUE(makeThumbnailFolder(dir / "walk/thumbs").ok());
    dir.write("walk/thumbs/img2.jpg-8.jpg", "x");
    fs::create_symlink(dir / "gone", dir / "walk/dangling.jpg"); // no file, no error
    // A folder whose name ends in a backslash is joined to its files with a slash.
    fs::create_directories(dir / "back\\");
    dir.write("back\\/f.jpg", "x");
    const std::string config = dir.write("c.ini", "[Configuration]\ntxtWidth=9\nFiles=*.md; *.TXT\n");
    const std::string list = dir.write("list.txt", "b\r\n\r\nc\n\nd");
    const std::string pics = dir / "pics";
    const std::string walk = dir / "walk";
    struct Case {
        std::vector<std::string> args;
        std::string names;
        std::string input = {};
    };
    const Case cases[] = {
        {{"-r", "--hidden", walk}, ".hidden;img2;img10;z;y;"},
        {{"--sort", "natural", "--reverse", "-r", walk, dir / "a1.jpg"}, "y;z;img10;img2;a1;"},
        {{"--sort=name", walk + "/img2.jpg", walk + "/img10.jpg"}, "img10;img2;"},
        {{dir / "back\\"}, "f;"},
        {{pics}, "a;b;c;d;e;notes;"},
        {{"--images", "-r", pics}, "a;b;e;f;"},
        {{"--include", "*.txt;notes", "--include=*.tif", pics}, "c;d;notes;"},
        {{"--include", "*.txt", "--images", pics}, "a;b;c;e;"},
        {{"--images", "--exclude", "*.PNG;a*", pics}, "e;"},
        {{"--include", "*.*", pics}, "a;b;c;d;e;notes;"},
        // Names given one by one, or in a list, are taken as they are: a folder in a list stays one entry.
        {{"--images", pics + "/notes", pics + "/c.txt"}, "notes;c;"},
        {{"--images", "-f", "-"}, "c;", pics + "/c.txt\n"},
        {{"-f", "-"}, "pics;", pics + "\n"},
        // Lists come after the arguments, in their order; null-separated names keep every byte.
        {{"a", "-f", list, "-f", "-"}, "a;b;c;d;e;f;", "e\nf\n"},
        {{"-0", "-f", "-"}, "a\r; b\nc;d;", "a\r\0 b\nc\0\0d"s},
        // A preset's and a configuration's own types, unless the options name some.
        {{"--preset", "css-grid", "-r", pics}, "a;b;e;f;"},
        {{"--preset", "css-grid", "--include", "*.tif", pics}, "d;"},
        {{"--preset", "css-grid", "--exclude", "*.svg", pics}, "a;b;"},
        {{"--preset", "css-grid", "-c", config, "-r", pics}, "c;g;"},
        {{"--preset", "markdown-list", pics}, "a;b;c;d;e;notes;"},
    };
    for (const Case& c : cases) {
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", c.args, c.input);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.names) << c.args.front() << " " << c.args.back();
    }
}

TEST(TabulonCli, AGalleryWalkNamesThePicturesAndVideosItLeftOutAndNotTheJunk) {
    test::TempDir dir;
    fs::create_directories(dir / "phone");
    fs::create_directories(dir / "one");
    for (const char* name : {"IMG_1.HEIC", "IMG_2.HEIC", "img_3.heic", "scan.tif", "clip.MOV", "IMG_1.AAE",
                             "Thumbs.db", "IMG_1.xmp", "desktop.ini", "notes.txt"})
        dir.write("phone/"s + name, "x");
    dir.write("phone/a.jpg", test::kJpeg);
    dir.write("one/clip.mov", "x");
    const std::string phone = dir / "phone";
    const std::string thumbs = "{{BASE}}{{THUMBWIDTH(8)}};";
    const auto leftOut = [](const std::string& kinds, const std::string& hint = {}) {
        return "tabulon-cli: left out " + kinds + ", which browsers do not show as pictures" + hint + "\n";
    };
    const std::string all = "3 .HEIC, 1 .tif and 1 .MOV files";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--images", phone}, leftOut(all)},
        {{"--images", "--exclude", "*.mov;*.tif", phone}, leftOut("3 .HEIC files")},
        {{"--images", dir / "one"}, leftOut("1 .mov file")},
        // A list that makes thumbnails says how to add the kinds libvips reads.
        {{"--images", "--entry", thumbs, phone},
         leftOut(all, "; --include '*.heic;*.tif' lists the pictures as thumbnails")},
        {{"--preset", "css-grid", "--entry", thumbs, phone},
         leftOut(all, "; --images --include '*.heic;*.tif' lists the pictures as thumbnails")},
        // Types that take no pictures, or no types at all, leave nothing out worth a word.
        {{"--include", "*.txt", phone}, ""},
        {{phone}, ""},
    };
    for (const auto& [args, err] : cases) {
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, err) << args.front();
    }
}

TEST(TabulonCli, APageWrapsTheListWithTheConfigurationsStyleScriptAndATitle) {
    test::TempDir dir;
    fs::create_directories(dir / "My & <Pics>");
    const std::string pics = dir / "My & <Pics>";
    dir.write("My & <Pics>/a.png", "x");
    const std::string config = dir.write("c.ini", "[Configuration]\ntxtWidth=1\ncbTextNewEntry={{BASE}}\n"
                                                  "Style=p{}{{CRLF}}img{}\nScript=go();{{CRLF}}end();\n");
    const std::string title = "<title>My &amp; &lt;Pics&gt;</title>\r\n";
    const std::string style = "<style>\r\np{}\r\nimg{}\r\n</style>\r\n";
    const std::string script = "\r\n<script>\r\ngo();\r\nend();\r\n</script>";
    struct Case {
        std::vector<std::string> args;
        std::string workDir;
        std::string head; // from <title>
    };
    const Case cases[] = {
        {{"-c", config, pics}, "", title + style},
        {{"-c", config, pics + "/", "--title", "", "--lang", "de"}, "", "<title></title>\r\n" + style},
        {{"--entry", "{{BASE}}", "a.png"}, pics, title},
        {{"--entry", "{{BASE}}", "."}, pics, title},
        {{"--entry", "{{BASE}}", "-f", "-"}, pics, title},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--page", "--no-comments", "--top=", "--bottom=", "--end-entry="});
        const test::ProcessResult r = test::runProcess(TABULON_CLI, args, "a.png\n", c.workDir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::string lang = c.args.back() == "de" ? "de" : "en";
        const std::string end = c.args.front() == "-c" ? script : "";
        // The head itself is html_page's: here, what the CLI hands it.
        EXPECT_NE(r.out.find("<html lang=\"" + lang + "\">"), std::string::npos) << r.out;
        EXPECT_TRUE(r.out.ends_with(c.head + "</head>\r\n<body>\r\na" + end + "\r\n</body>\r\n</html>\r\n"))
            << r.out;
    }
    // Without --page the style and the script stay out.
    EXPECT_EQ(cli({"-c", config, "--no-comments", "--top=", "--bottom=", pics + "/a.png"}).out, "a");
}

struct Failure : test::Sentence {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
};

class TabulonCliFailure : public testing::TestWithParam<Failure> {};

TEST_P(TabulonCliFailure, SaysWhatIsWrongAndWritesNothing) {
    test::TempDir dir;
    // The case's own arguments come last: a later -o wins, a value can be missing.
    std::vector<std::string> args = {"-o", dir / "out.html", "a.jpg"};
    for (const std::string& arg : GetParam().args)
        args.push_back(arg.starts_with("@") ? dir / arg.substr(1) : arg);
    const test::ProcessResult r = cli(args);
    EXPECT_EQ(r.exitCode, GetParam().exitCode);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 0);
}

const Failure kMistakes[] = {
    {"a word for a width is refused", {"-w", "four"}, 2, "Enter a width > 0\n"},
    {"an unknown option shows the usage", {"--fast"}, 2, "Usage: tabulon-cli"},
    {"an unknown sort key", {"--sort", "colour"}, 2, "--sort takes"},
    {"an unknown preset", {"--preset", "nope"}, 2, "no preset named 'nope'"},
    {"a title without a page", {"--title", "t"}, 2, "--title goes with --page"},
    {"an empty folder for relative names", {"--relative-to="}, 2, "--relative-to takes a folder"},
    {"a missing configuration is named", {"-c", "@none.ini"}, 1, "none.ini: No such file"},
    {"a missing list is named", {"-f", "@names.txt"}, 1, "names.txt: No such file"},
    {"an output folder that does not exist is named", {"-o", "@no/out.html"}, 1, "out.html: No such file"},
    {"a thumbnail folder in another folder", {"--thumb-dir", "a/b"}, 2, "--thumb-dir takes a plain"},
    {"a thumbnail folder above", {"--thumb-dir", ".."}, 2, "--thumb-dir takes a plain"},
    {"an empty thumbnail folder", {"--thumb-dir", ""}, 2, "--thumb-dir takes a plain"},
    {"a thumbnail format no browser shows", {"--thumb-format", "gif"}, 2, "--thumb-format takes"},
    {"no thumbnail workers", {"-j", "0"}, 2, "-j takes a number"},
    {"a word for the thumbnail workers", {"-j", "2x"}, 2, "-j takes a number"},
};

INSTANTIATE_TEST_SUITE_P(Mistakes, TabulonCliFailure, testing::ValuesIn(kMistakes), test::bySentence);

TEST(TabulonCli, AnOutputThatCannotBeWrittenLeavesTheOldFileWhole) {
    test::TempDir dir;
    const std::string out = dir.write("out.html", "old");
    std::string names;
    for (int i = 0; i < 100; ++i)
        names += std::string(2000, 'n') + "\n";
    const std::string list = dir.write("list", names);
    test::ProcessResult r;
    {
        const test::ResourceLimit limit(RLIMIT_FSIZE, 65536); // inherited by the child
        r = cli({"-o", out, "-f", list});
    }
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("out.html: File too large"), std::string::npos) << r.err;
    EXPECT_EQ(test::readAll(out), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

TEST(TabulonCli, OutputThatIsLostIsAFailure) {
    test::TempDir dir;
    const std::optional<std::string> full = test::memoryDevice(dir, "full", test::kFullMinor);
    std::vector<std::pair<test::Stdout, std::string>> outputs = {
        {{test::Stdout::Closed}, "Bad file descriptor"}};
    if (full)
        outputs.push_back({{test::Stdout::Into, *full}, "No space left on device"});
    for (const std::string command : {"--help", "--version", "--list-presets", "a.jpg"}) {
        for (const auto& [output, error] : outputs) {
            const test::ProcessResult r = test::runProcess(TABULON_CLI, {command}, {}, {}, output);
            EXPECT_EQ(r.exitCode, 1) << command << ": " << error;
            EXPECT_EQ(r.err, "tabulon-cli: cannot write standard output: " + error + "\n");
        }
    }
    if (!full)
        GTEST_SKIP() << "device nodes cannot be made here; the full disk is left out";
}

} // namespace
} // namespace tabulon
