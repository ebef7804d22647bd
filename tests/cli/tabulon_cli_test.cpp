#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include <climits>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "listgen/list_assembly.h"
#include "listgen/selection_text.h"
#include "support/device_node.h"
#include "support/entries_only.h"
#include "support/resource_limit.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/tiny_pictures.h"
#include "tabulon/version.h"

namespace tabulon {
namespace {

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
}

TEST(TabulonCli, NoFilesGiveTheFrameAlone) {
    EXPECT_EQ(cli({}).out, framed(""));
}

TEST(TabulonCli, ListsComeAfterTheArgumentsInTheirOrder) {
    test::TempDir dir;
    const std::string list = dir.write("list.txt", "b\r\n\r\nc\n\nd");
    const test::ProcessResult r =
        cli({"--entry", "{{FILE}};", "--end-entry=", "a", "-f", list, "-f", "-"}, "e\nf\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, framed("a;b;c;d;</tr><tr>\r\ne;f;"));
}

TEST(TabulonCli, NulSeparatedListsKeepEveryByteOfTheName) {
    const test::ProcessResult r =
        cli({"--entry", "[{{FILE}}]", "--end-entry=", "-w", "9", "-0", "-f", "-"}, "a\r\0 b\nc\0\0d"s);
    EXPECT_EQ(r.out, framed("[a\r][ b\nc][d]"));
}

TEST(TabulonCli, ANameTooLongForAPathStopsTheListAtItsLine) {
    test::TempDir dir;
    const std::string longest(PATH_MAX - 1, 'n');
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {{"-f", "-"}, "a\n" + longest + "\r\n", 0, ""},
        {{"-f", "-"}, "a\n\n" + longest + "n\nb\n", 1, "standard input: line 3: File name too long"},
        {{"-f", dir.write("list", "a\n" + longest + "nn")}, "", 1, dir / "list: line 2: File name too long"},
        {{"-0", "-f", "-"}, "a\0"s + longest + "\0"s, 0, ""},
        {{"-0", "-f", "-"}, "\0a\0"s + longest + "n\0"s, 1, "standard input: entry 3: File name too long"},
        // One endless name: stopped at once, not read until memory runs out.
        {{"-f", "/dev/zero"}, "", 1, "/dev/zero: line 1: File name too long"},
    };
    for (const Case& c : cases) {
        test::ProcessResult r;
        {
            const test::ResourceLimit limit(RLIMIT_AS, std::size_t{256} << 20);
            r = test::entriesOnly("{{FILE}};", c.args, c.input);
        }
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back();
        if (c.exitCode == 0) {
            EXPECT_EQ(r.out, "a;" + longest + ";");
        }
        EXPECT_EQ(r.err, c.err.empty() ? "" : "tabulon-cli: cannot read " + c.err + "\n");
    }
}

TEST(TabulonCli, StartsFromAConfigurationAndTheOptionsWin) {
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
}

TEST(TabulonCli, AnOutputFileIsReplacedWholeAndALinkIsWrittenThrough) {
    test::TempDir dir;
    dir.write("out.html", "old");
    std::filesystem::create_symlink("new.html", dir / "dangling");
    std::filesystem::create_symlink("loop", dir / "loop");
    const struct {
        const char* target;
        const char* written; // null: refused
    } cases[] = {{"out.html", "out.html"}, {"dangling", "new.html"}, {"loop", nullptr}};
    for (const auto& c : cases) {
        const test::ProcessResult r = cli({"-o", dir / c.target, "a"});
        EXPECT_EQ(r.out, "");
        if (c.written) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(test::readAll(dir / c.written), framed("<td>a</td>\r\n"));
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.err, "tabulon-cli: cannot write " + (dir / c.target) +
                                 ": Too many levels of symbolic links\n");
        }
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop"));
}

TEST(TabulonCli, DevicesAndFifosAreWrittenIntoNeverReplaced) {
    // Every output named here lies in the test's own folder, so that a writer
    // that replaced what it should write into could harm nothing of the system's.
    test::TempDir dir;
    const std::string list = framed("<td>a</td>\r\n");

    // Standard output by a name, as /dev/stdout is a link to it.
    const std::string stdoutLink = dir / "stdout";
    std::filesystem::create_symlink("/proc/self/fd/1", stdoutLink);
    const test::ProcessResult intoStdout = cli({"-o", stdoutLink, "a"});
    EXPECT_EQ(intoStdout.exitCode, 0);
    EXPECT_EQ(intoStdout.err, "");
    EXPECT_EQ(intoStdout.out, list);
    EXPECT_TRUE(std::filesystem::is_symlink(stdoutLink));

    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader first, so that the program need not wait for one.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const test::ProcessResult intoFifo = cli({"-o", fifo, "a"});
    EXPECT_EQ(intoFifo.exitCode, 0);
    char buffer[4096];
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), list);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    ::close(reader);

    const std::optional<std::string> null = test::memoryDevice(dir, "null", test::kNullMinor);
    const std::optional<std::string> full = test::memoryDevice(dir, "full", test::kFullMinor);
    if (!null || !full)
        GTEST_SKIP() << "device nodes cannot be made here; the devices are left out";
    const test::ProcessResult intoNull = cli({"-o", *null, "a"});
    EXPECT_EQ(intoNull.exitCode, 0);
    EXPECT_EQ(intoNull.err, "");
    const test::ProcessResult intoFull = cli({"-o", *full, "a"});
    EXPECT_EQ(intoFull.exitCode, 1);
    EXPECT_EQ(intoFull.err, "tabulon-cli: cannot write " + *full + ": No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_character_file(*null));
    EXPECT_TRUE(std::filesystem::is_character_file(*full));
}

TEST(TabulonCli, FoldersListTheirFilesAndAListNamesThemAsTheyAre) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "pics/sub");
    for (const char* name : {"pics/img10.jpg", "pics/img2.jpg", "pics/.hidden.jpg", "pics/sub/z.jpg"})
        dir.write(name, "x");
    const std::string pics = dir / "pics";
    std::filesystem::create_symlink(dir / "gone", dir / "pics/dangling.jpg"); // no file, no error
    // A folder whose name ends in a backslash is joined to its files with a slash.
    std::filesystem::create_directories(dir / "back\\");
    dir.write("back\\/f.jpg", "x");
    const auto names = [](std::vector<std::string> args, const std::string& input = {}) {
        return test::entriesOnly("{{BASE}};", std::move(args), input).out;
    };
    EXPECT_EQ(names({"-r", "--hidden", pics}), ".hidden;img2;img10;z;");
    EXPECT_EQ(names({"--sort", "natural", "--reverse", "-r", pics, dir / "a1.jpg"}), "z;img10;img2;a1;");
    EXPECT_EQ(names({"--sort=name", pics + "/img2.jpg", pics + "/img10.jpg"}), "img10;img2;");
    EXPECT_EQ(names({dir / "back\\"}), "f;");
    // A folder in a list stays one entry.
    EXPECT_EQ(names({"-f", "-"}, pics + "\n"), "pics;");
}

TEST(TabulonCli, NaturalOrderIsTheOrderPeopleExpect) {
    // Written down by hand, not by a collator: é is U+00E9.
    const std::vector<std::string> expected = {"a2",        "A10",          "b",
                                               "e",         "\xC3\xA9",     "f",
                                               "img2",      "img10",        "img100",
                                               "README.md", "Tom",          "x",
                                               "folder/x",  "folder/sub/y", "folder/sub/z10"};
    test::TempDir dir;
    std::filesystem::create_directories(dir / "folder/sub");
    for (auto name = expected.rbegin(); name != expected.rend(); ++name)
        dir.write(*name, "x");
    std::string want;
    for (const std::string& name : expected)
        want += dir / name + ";";
    const auto listed = [&](std::vector<std::string> args) {
        const test::ProcessResult r = test::entriesOnly("{{FILE}};", std::move(args));
        EXPECT_EQ(r.err, "");
        return r.out;
    };
    // A folder's walk, and the same names sorted wherever they come from.
    EXPECT_EQ(listed({"-r", dir.path().string()}), want);
    std::vector<std::string> shuffled = {"--sort", "natural"};
    for (std::size_t i = 0; i < expected.size(); ++i)
        shuffled.push_back(dir / expected[(i * 7) % expected.size()]);
    EXPECT_EQ(listed(shuffled), want);
    // Names that differ in case or accent only still come in one order, whatever order they are given in.
    EXPECT_EQ(listed({"--sort=natural", "E", "e", "\xC3\xA9", "e\xCC\x81", "\xC3\xA9"}),
              listed({"--sort=natural", "\xC3\xA9", "e\xCC\x81", "e", "\xC3\xA9", "E"}));
}

TEST(TabulonCli, FilesThatTieOnTheSortKeyComeInNaturalOrder) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const auto noon = fs::file_time_type::clock::now() - std::chrono::days(9);
    // All but z are of one size and one day.
    for (const char* name : {"IMG10", "b", "IMG3", "B", "a", "IMG9", "z"}) {
        dir.write(name, name == std::string("z") ? "zzz" : "x");
        fs::last_write_time(dir / name, name == std::string("z") ? noon + std::chrono::days(2) : noon);
    }
    const struct {
        std::vector<std::string> sort;
        std::string order;
    } cases[] = {
        {{"--sort", "size"}, "a;b;B;IMG3;IMG9;IMG10;z;"},
        {{"--sort", "date"}, "a;b;B;IMG3;IMG9;IMG10;z;"},
        {{"--sort", "taken"}, "a;b;B;IMG3;IMG9;IMG10;z;"},
        {{"--sort", "size", "--reverse"}, "z;IMG10;IMG9;IMG3;B;b;a;"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.sort;
        for (const char* name : {"IMG10", "b", "IMG3", "z", "B", "a", "IMG9"})
            args.push_back(dir / name);
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", args);
        EXPECT_EQ(r.err, "") << c.sort[1];
        EXPECT_EQ(r.out, c.order) << c.sort[1];
    }
}

// A chain of folders under `top`, each with a name of 200 bytes and a file f
// in it. Built and removed through descriptors, as no path reaches its depths.
class FolderChain {
public:
    static inline const std::string kName = std::string(200, 'd');

    FolderChain(std::string top, int levels) : top_(std::move(top)), levels_(levels) {
        ::mkdir(top_.c_str(), 0755);
        int fd = ::open(top_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 1; level <= levels_; ++level) {
            ::close(::openat(fd, "f", O_WRONLY | O_CREAT, 0644));
            if (level < levels_)
                ::mkdirat(fd, kName.c_str(), 0755);
            fd = down(fd);
        }
        ::close(fd);
    }
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    ~FolderChain() {
        int fd = ::open(top_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 1; level < levels_; ++level)
            fd = down(fd);
        for (int level = levels_; level > 1; --level) {
            ::unlinkat(fd, "f", 0);
            const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = up;
            ::unlinkat(fd, kName.c_str(), AT_REMOVEDIR);
        }
        ::unlinkat(fd, "f", 0);
        ::close(fd);
        ::rmdir(top_.c_str());
    }

private:
    static int down(int fd) {
        const int next = ::openat(fd, kName.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        return next;
    }

    std::string top_;
    int levels_;
};

TEST(TabulonCli, AFolderTooDeepToListWholeIsAnErrorNotAShortList) {
    test::TempDir dir;
    // Each level adds 201 bytes to the path: 30 levels pass PATH_MAX on the way down.
    for (const int levels : {15, 30}) {
        const FolderChain chain(dir / "chain", levels);
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", {"-r", dir / "chain"});
        if (levels == 15) {
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), ';'), levels);
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(
                r.err.starts_with("tabulon-cli: cannot read folder " + dir / "chain/" + FolderChain::kName))
                << r.err;
            EXPECT_TRUE(r.err.ends_with(": File name too long\n")) << r.err;
        }
    }
}

TEST(TabulonCli, APresetStartsTheListAndTheOptionsStillWin) {
    EXPECT_EQ(cli({"--preset", "link-list", "--no-comments", "--top=", "--bottom=", "/p/<x>.png"}).out,
              "  <li><a href=\"/p/%3Cx%3E.png\">&lt;x&gt;.png</a></li>\r\n");
}

TEST(TabulonCli, OnlyListsInNaturalOrderNeedTheCollationModule) {
    namespace fs = std::filesystem;
    test::TempDir prefix;
    const fs::path bin = prefix.path() / "bin";
    fs::create_directories(bin);
    fs::copy_file(TABULON_CLI, bin / "tabulon-cli");
    const auto run = [&](std::vector<std::string> args) {
        return test::entriesOnly("{{FILE}};", std::move(args), {}, {}, (bin / "tabulon-cli").string());
    };
    const std::string module = (bin / kModulesFromBin / "libtabulon-collate.so").lexically_normal().string();
    fs::create_directories(bin / kDataFromBin / "presets");
    for (const char* preset : {"b.ini", "A.ini"})
        std::ofstream(bin / kDataFromBin / "presets" / preset) << "[Main]\n";
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
    fs::create_directories(fs::path(module).parent_path());
    fs::copy_file(fs::path(TABULON_CLI).parent_path() / "libtabulon-collate.so", module);
    EXPECT_EQ(run({"--sort", "natural", "b", "a"}).out, "a;b;");
    EXPECT_EQ(run({"--list-presets"}).out, "A\nb\n");
}

TEST(TabulonCli, FilesWithoutASizeAreLeftOutOnlyWhereTheConfigurationSaysSo) {
    test::TempDir dir;
    const std::vector<std::string> files = {dir.write("a.png", test::kPng), dir.write("empty.jpg", ""),
                                            dir.write("b.gif", test::kGif)};
    const std::string leaveOut = dir.write("l.ini", "[Configuration]\nLeaveOutUnsized=1\n");
    const std::string keep = dir.write("k.ini", "[Configuration]\nLeaveOutUnsized=0\n");
    const std::string sized = "{{N}},{{ROW}},{{COL}} {{WIDTH}}x{{HEIGHT}}";
    struct Case {
        std::string config;
        std::string entry;
        std::string out;
        bool warned;
    };
    const Case cases[] = {
        {leaveOut, sized, "1,1,1 3x2;2,1,2 1x1;", true},
        {keep, sized, "1,1,1 3x2;2,1,2 x;|3,2,1 1x1;", false},
        // Only a list that asks for sizes needs them.
        {leaveOut, "{{N}} {{BASE}}", "1 a;2 empty;|3 b;", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {
            "-c",        c.config,      "-w",      "2",     "--no-comments", "--top=",
            "--bottom=", "--new-row=|", "--entry", c.entry, "--end-entry=;"};
        args.insert(args.end(), files.begin(), files.end());
        const test::ProcessResult r = cli(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, c.out) << c.config << " " << c.entry;
        EXPECT_EQ(r.err, c.warned
                             ? "tabulon-cli: left out " + files[1] + ": its width and height cannot be read\n"
                             : "");
    }
}

TEST(TabulonCli, FileTypesChooseAmongTheFilesFoundInFoldersOnly) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "pics/sub");
    for (const char* name : {"pics/a.JPG", "pics/b.png", "pics/c.txt", "pics/notes", "pics/d.tif",
                             "pics/e.Svg", "pics/.h.png", "pics/sub/f.gif", "pics/sub/g.md"})
        dir.write(name, "x");
    const std::string config = dir.write("c.ini", "[Configuration]\ntxtWidth=9\nFiles=*.md; *.TXT\n");
    const std::string pics = dir / "pics";
    struct Case {
        std::vector<std::string> args;
        std::string names;
    };
    const Case cases[] = {
        {{pics}, "a;b;c;d;e;notes;"},
        {{"--images", "-r", pics}, "a;b;e;f;"},
        {{"--images", "--hidden", pics}, ".h;a;b;e;"},
        {{"--include", "*.txt;notes", "--include=*.tif", pics}, "c;d;notes;"},
        {{"--include", "*.txt", "--images", pics}, "a;b;c;e;"},
        {{"--images", "--exclude", "*.PNG;a*", pics}, "e;"},
        {{"--include", "*.*", pics}, "a;b;c;d;e;notes;"},
        // Names given one by one, or in a list, are taken as they are.
        {{"--images", pics + "/notes", pics + "/c.txt"}, "notes;c;"},
        // A preset's and a configuration's own types, unless the options name some.
        {{"--preset", "css-grid", "-r", pics}, "a;b;e;f;"},
        {{"--preset", "css-grid", "--include", "*.tif", pics}, "d;"},
        {{"--preset", "css-grid", "--exclude", "*.svg", pics}, "a;b;"},
        {{"--preset", "css-grid", "-c", config, "-r", pics}, "c;g;"},
        {{"--preset", "markdown-list", pics}, "a;b;c;d;e;notes;"},
    };
    for (const Case& c : cases) {
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.names) << c.args.front() << " " << c.args.back();
    }
    EXPECT_EQ(test::entriesOnly("{{BASE}};", {"--images", "-f", "-"}, pics + "/c.txt\n").out, "c;");
}

TEST(TabulonCli, AGalleryWalkNamesThePicturesAndVideosItLeftOutAndNotTheJunk) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "phone");
    for (const char* name : {"IMG_1.HEIC", "IMG_2.HEIC", "img_3.heic", "scan.tif", "clip.MOV", "IMG_1.AAE",
                             "Thumbs.db", "IMG_1.xmp", "desktop.ini", "notes.txt"})
        dir.write("phone/"s + name, "x");
    dir.write("phone/a.jpg", test::kJpeg);
    const std::string phone = dir / "phone";
    const std::string left =
        "tabulon-cli: left out 3 .HEIC, 1 .tif and 1 .MOV files, which browsers do not show "
        "as pictures";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"--images"}, left + "\n"},
        {{"--images", "--exclude", "*.mov;*.tif"},
         "tabulon-cli: left out 3 .HEIC files, which browsers do not show as "
         "pictures\n"},
        // A list that makes thumbnails says how to add the kinds libvips reads.
        {{"--images", "--entry", "{{BASE}}{{THUMBWIDTH(8)}};"},
         left + "; --include '*.heic;*.tif' lists the pictures as thumbnails\n"},
        {{"--preset", "thumbnail-gallery", "--entry", "{{BASE}}{{THUMBWIDTH(8)}};"},
         left + "; --images --include '*.heic;*.tif' lists the pictures as thumbnails\n"},
        // Types that take no pictures, or no types at all, leave nothing out worth a word.
        {{"--include", "*.txt"}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(phone);
        const test::ProcessResult r = test::entriesOnly("{{BASE}};", args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, c.err) << c.args.front();
    }
    std::filesystem::create_directories(dir / "one");
    dir.write("one/clip.mov", "x");
    const test::ProcessResult one = cli({"--images", dir / "one"});
    EXPECT_EQ(one.err, "tabulon-cli: left out 1 .mov file, which browsers do not show as pictures\n");
}

TEST(TabulonCli, APageWrapsTheListWithTheConfigurationsStyleAndATitle) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "My & <Pics>");
    const std::string pics = dir / "My & <Pics>";
    dir.write("My & <Pics>/a.png", "x");
    const std::string config =
        dir.write("c.ini", "[Configuration]\ntxtWidth=1\ncbTextNewEntry={{BASE}}\nStyle=p{}{{CRLF}}img{}\n");
    const std::string list = "a\r\n</body>\r\n</html>\r\n";
    struct Case {
        std::vector<std::string> args;
        std::string workDir;
        std::string head; // from <title>
    };
    const Case cases[] = {
        {{"--page", "-c", config, pics},
         "",
         "<title>My &amp; &lt;Pics&gt;</title>\r\n<style>\r\np{}\r\nimg{}\r\n</style>\r\n"},
        {{"--page", "-c", config, pics + "/", "--title", "", "--lang", "de"},
         "",
         "<title></title>\r\n<style>\r\np{}\r\nimg{}\r\n</style>\r\n"},
        {{"--page", "--entry", "{{BASE}}", "a.png"}, pics, "<title>My &amp; &lt;Pics&gt;</title>\r\n"},
        {{"--page", "--entry", "{{BASE}}", "."}, pics, "<title>My &amp; &lt;Pics&gt;</title>\r\n"},
        {{"--page", "--entry", "{{BASE}}", "-f", "-"}, pics, "<title>My &amp; &lt;Pics&gt;</title>\r\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--no-comments", "--top=", "--bottom=", "--end-entry="});
        const test::ProcessResult r = test::runProcess(TABULON_CLI, args, "a.png\n", c.workDir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::string lang = c.args.back() == "de" ? "de" : "en";
        EXPECT_EQ(r.out, "<!DOCTYPE html>\r\n<html lang=\"" + lang +
                             "\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n" +
                             c.head + "</head>\r\n<body>\r\n" + list)
            << c.args.back();
    }
    // Without --page the style stays out.
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
    EXPECT_FALSE(std::filesystem::exists(dir / "out.html"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, TabulonCliFailure,
    testing::Values(Failure{"an empty width asks for one", {"-w", ""}, 2, "Enter a width\n"},
                    Failure{"a zero width is refused", {"--width=0"}, 2, "Enter a width > 0\n"},
                    Failure{"a word for a width is refused", {"-w", "four"}, 2, "Enter a width > 0\n"},
                    Failure{"an unknown option shows the usage", {"--fast"}, 2, "Usage: tabulon-cli"},
                    Failure{"a value option without its value", {"--top"}, 2, "needs a value"},
                    Failure{"null names without a list", {"-0"}, 2, "--null goes with --files-from"},
                    Failure{"an unknown sort key", {"--sort", "colour"}, 2, "--sort takes"},
                    Failure{"an unknown preset", {"--preset", "nope"}, 2, "no preset named 'nope'"},
                    Failure{"a title without a page", {"--title", "t"}, 2, "--title goes with --page"},
                    Failure{
                        "a missing configuration is named", {"-c", "@none.ini"}, 1, "none.ini: No such file"},
                    Failure{"a missing list is named", {"-f", "@names.txt"}, 1, "names.txt: No such file"},
                    Failure{"an output folder that does not exist is named",
                            {"-o", "@no/out.html"},
                            1,
                            "out.html: No such file"}),
    test::bySentence);

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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(TabulonCli, OutputThatIsLostIsAFailure) {
    test::TempDir dir;
    const std::optional<std::string> full = test::memoryDevice(dir, "full", test::kFullMinor);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--version"}, {"--list-presets"}, {"a.jpg"}}) {
        const test::ProcessResult closed = test::runProcess(TABULON_CLI, args, {}, {}, test::Stdout::Closed);
        EXPECT_EQ(closed.exitCode, 1) << args[0] << " to a closed output";
        EXPECT_EQ(closed.err, "tabulon-cli: cannot write standard output: Bad file descriptor\n");
        if (!full)
            continue; // no full device of the test's own here
        const test::ProcessResult r = test::runProcess(TABULON_CLI, args, {}, {}, test::Stdout::into(*full));
        EXPECT_EQ(r.exitCode, 1) << args[0] << " to a full disk";
        EXPECT_EQ(r.err, "tabulon-cli: cannot write standard output: No space left on device\n");
    }
    if (!full)
        GTEST_SKIP() << "device nodes cannot be made here; the full disk is left out";
}

} // namespace
} // namespace tabulon
