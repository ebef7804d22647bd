// tabulon-cli over damaged pictures of every type, through every placeholder
// that reads a picture: whatever a file holds, the list ends by itself, with no
// crash, an exit status of 0 or 1, messages that are tabulon-cli's own lines
// and a list in valid UTF-8.
//
// Larger sets for a longer hunt (tests/fuzz/mutate_pictures.sh sets these):
//   TABULON_MUTANTS=N          how many damaged pictures (a few hundred by default)
//   TABULON_MUTATION_CLI=path  the tabulon-cli to try instead of this build's
//   TABULON_MUTATION_KEEP=dir  after a failed run, try each picture alone and
//                              copy the ones that fail into dir
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <glib.h>

#include "picture_mutator.h"
#include "seed_pictures.h"
#include "support/limited_process.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

// Any number will do; changing it changes the set.
constexpr std::uint32_t kMutatorSeed = 52711;
constexpr std::size_t kDefaultMutants = 300;
constexpr rlim_t kAddressSpace = rlim_t{4} << 30;
// A damaged picture of a few kilobytes that is still being read after this
// long is a hang, not a slow picture.
constexpr std::chrono::seconds kListTime{60};
constexpr std::chrono::seconds kOnePictureTime{10};

std::string fromEnvironment(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// What is wrong with a run, one line each; nothing for a sound one.
std::vector<std::string> faults(const test::ProcessResult& r, std::chrono::seconds limit) {
    std::vector<std::string> found;
    if (r.exitCode == test::kTimedOut)
        found.push_back("did not end within " + std::to_string(limit.count()) + " s");
    else if (r.exitCode > 128)
        found.push_back("ended by signal " + std::to_string(r.exitCode - 128) + " (" +
                        strsignal(r.exitCode - 128) + ")");
    else if (r.exitCode != 0 && r.exitCode != 1)
        found.push_back("exit status " + std::to_string(r.exitCode));
    std::istringstream lines(r.err);
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("tabulon-cli: ")) {
            found.push_back("a message not of tabulon-cli's: " + line.substr(0, 200));
            break;
        }
    // glib's own check, not the engine's: a NUL counts as a fault too.
    const gchar* end = nullptr;
    if (!g_utf8_validate_len(r.out.data(), r.out.size(), &end)) {
        const auto valid = static_cast<std::size_t>(end - r.out.data());
        const std::size_t from = r.out.rfind('\n', valid);
        found.push_back("the list is not UTF-8 from byte " + std::to_string(valid) +
                        ", in the entry: " + r.out.substr(from == std::string::npos ? 0 : from + 1, 200));
    }
    return found;
}

// Every placeholder that reads a picture, at once, sorted by the day taken.
constexpr const char* kEntry = "{{FILE}} {{THUMB(64)}} {{THUMBWIDTH(64)}}x{{THUMBHEIGHT(64)}} {{TAKEN}} "
                               "{{CAPTION}} {{ALT}} {{META(Exif.Image.Make)}} {{WIDTH}}x{{HEIGHT}}";

test::ProcessResult runList(const fs::path& folder, const std::vector<std::string>& names,
                            std::chrono::seconds limit) {
    std::vector<std::string> args = {
        "--no-comments", "--top=", "--bottom=", "--new-row=", "--end-entry=\n", "-w", "1000", "-j", "2",
        "--sort",        "taken",  "--entry",   kEntry};
    args.insert(args.end(), names.begin(), names.end());
    return test::runLimited(fromEnvironment("TABULON_MUTATION_CLI", TABULON_CLI), args, folder.string(),
                            {limit, kAddressSpace});
}

// `count` damaged copies of the seeds, taken in turn, named after their seed
// ("photo-heic-0012.heic"); every tenth is named .jpg, as a renamed file
// would be. The pictures that once hung or crashed the engine come with them.
std::vector<std::string> writeMutants(const fs::path& seedFolder, const std::vector<std::string>& seeds,
                                      const fs::path& folder, std::size_t count) {
    std::vector<std::string> names;
    test::PictureMutator mutator(kMutatorSeed);
    for (std::size_t i = 0; i < count; ++i) {
        const fs::path seed = seeds[i % seeds.size()];
        const std::string type = seed.extension().string().substr(1);
        char number[32];
        std::snprintf(number, sizeof number, "-%04zu.", i);
        const std::string name = seed.stem().string() + "-" + type + number + (i % 10 == 9 ? "jpg" : type);
        std::ofstream(folder / name, std::ios::binary)
            << mutator.mutate(test::readAll((seedFolder / seed).string()));
        names.push_back(name);
    }
    const fs::path regressions = fs::path(TABULON_TEST_DATA) / "mutants";
    for (const auto& kept : fs::directory_iterator(regressions)) {
        fs::copy_file(kept.path(), folder / kept.path().filename());
        names.push_back(kept.path().filename().string());
    }
    return names;
}

// Tries each picture alone, prints what fails and copies it into `keep`.
void narrowDown(const fs::path& folder, const std::vector<std::string>& names, const fs::path& keep) {
    fs::create_directories(keep);
    for (const std::string& name : names)
        if (const std::vector<std::string> found =
                faults(runList(folder, {name}, kOnePictureTime), kOnePictureTime);
            !found.empty()) {
            fs::copy_file(folder / name, keep / name, fs::copy_options::overwrite_existing);
            std::cout << name << ": " << found.front() << std::endl;
        }
}

TEST(MutatedPictures, DamagedPicturesOfEveryTypeNeitherHangNorCrashAnyMediaPlaceholder) {
    const test::TempDir dir;
    const fs::path folder = dir.path() / "mutants";
    fs::create_directories(folder);
    const std::size_t count = std::stoul(fromEnvironment("TABULON_MUTANTS", std::to_string(kDefaultMutants)));
    const std::vector<std::string> names =
        writeMutants(test::kSeedFolder, test::seedPictures(), folder, count);

    const test::ProcessResult r = runList(folder, names, kListTime);
    const std::vector<std::string> found = faults(r, kListTime);
    EXPECT_EQ(found, std::vector<std::string>{})
        << "tests/fuzz/mutate_pictures.sh names the pictures that fail, one by one";
    if (const std::string keep = fromEnvironment("TABULON_MUTATION_KEEP", "");
        !found.empty() && !keep.empty())
        narrowDown(folder, names, keep);
}

} // namespace
} // namespace tabulon
