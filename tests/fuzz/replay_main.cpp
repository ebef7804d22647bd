// Replays inputs through a fuzz target without libFuzzer, so that the normal
// build checks the saved corpus: each argument is a file, or a folder whose
// files are replayed in name order. A target reports a fault by aborting; the
// input it was given is named on stderr first.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/file_content.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const char* current = nullptr;

extern "C" void nameTheInput(int signal) {
    if (current) {
        const char lead[] = "replay: failed on ";
        (void)!write(STDERR_FILENO, lead, sizeof lead - 1);
        (void)!write(STDERR_FILENO, current, std::strlen(current));
        (void)!write(STDERR_FILENO, "\n", 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Absolute names, taken before the first input runs: a target may change
// the working folder. A folder gives its files in name order.
void collect(const char* argument, std::vector<std::string>& files) {
    namespace fs = std::filesystem;
    const fs::path path = fs::absolute(argument);
    if (!fs::is_directory(path)) {
        files.push_back(path.string());
        return;
    }
    const std::size_t first = files.size();
    for (const auto& entry : fs::directory_iterator(path))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end());
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        collect(argv[i], files);
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER... (at least one input)\n", argv[0]);
        return 2;
    }
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, nameTheInput);
    tabulon::FileReader reader;
    for (const std::string& file : files) {
        if (const tabulon::IoResult read = reader.read(file); !read.ok()) {
            std::fprintf(stderr, "replay: %s\n", read.error().message().c_str());
            return 2;
        }
        current = file.c_str();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(reader.data().data()),
                               reader.data().size());
        current = nullptr;
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
