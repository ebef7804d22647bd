// Entries per second of the engine, without the cost of any output device.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "listgen/entry_processor.h"

namespace {

using namespace tabulon;

// Counts bytes and throws them away.
class NullSink final : public Sink {
public:
    std::size_t bytes = 0;

protected:
    void consume(std::string_view piece) override { bytes += piece.size(); }
};

std::vector<std::string> names(std::size_t count) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        names.push_back("/home/user/photos/2024/holiday/IMG_" + std::to_string(100000 + i) + ".jpg");
    return names;
}

void runList(benchmark::State& state, const TemplateSet& set, const std::vector<std::string>& names) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        NullSink sink;
        EntryProcessor processor(set, 4, sink);
        processor.start();
        for (const std::string& name : names)
            processor.ProcessFile(name);
        processor.finish();
        bytes += sink.bytes;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void initialSet(benchmark::State& state) {
    static const auto list = names(100000);
    runList(state, initialTemplateSet(), list);
}
BENCHMARK(initialSet);

void everyNamePlaceholder(benchmark::State& state) {
    static const auto list = names(100000);
    TemplateSet set = initialTemplateSet();
    set.newEntry = "<td><a href=\"{{FILE}}\" title=\"{{PATH}}\">{{BASE}}{{EXT}} ({{SHORTEXT}})</a></td>";
    runList(state, set, list);
}
BENCHMARK(everyNamePlaceholder);

// Small text files, included whole.
void includeContent(benchmark::State& state) {
    static const auto files = [] {
        const auto dir = std::filesystem::temp_directory_path() / "tabulon-bench-inc";
        std::filesystem::create_directories(dir);
        std::vector<std::string> names;
        for (int i = 0; i < 1000; ++i) {
            const std::string name = (dir / ("caption" + std::to_string(i) + ".txt")).string();
            std::ofstream(name, std::ios::binary) << "A caption for picture " << i << "\r\nsecond line\r\n";
            names.push_back(name);
        }
        return names;
    }();
    TemplateSet set = initialTemplateSet();
    set.newEntry = "<td>{{INC}}</td>";
    runList(state, set, files);
}
BENCHMARK(includeContent);

// The caption file beside each picture, included by a name made of placeholders.
void includeByName(benchmark::State& state) {
    static const auto pictures = [] {
        const auto dir = std::filesystem::temp_directory_path() / "tabulon-bench-captions";
        std::filesystem::create_directories(dir);
        std::vector<std::string> names;
        for (int i = 0; i < 1000; ++i) {
            const std::string base = (dir / ("caption" + std::to_string(i))).string();
            std::ofstream(base + ".txt", std::ios::binary) << "A caption for picture " << i << "\r\n";
            names.push_back(base + ".jpg");
        }
        return names;
    }();
    TemplateSet set = initialTemplateSet();
    set.newEntry = "<td>{{INC({{PATH}}{{BASE}}.txt)}}</td>";
    runList(state, set, pictures);
}
BENCHMARK(includeByName);

} // namespace

BENCHMARK_MAIN();
