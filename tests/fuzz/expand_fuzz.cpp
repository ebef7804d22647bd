// The entry expansion against a slow model that replaces the placeholders one
// after the other over the whole entry, as a user would by hand: both must
// give the same bytes. Include names resolve inside a folder of known files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "listgen/entry_processor.h"
#include "listgen/name_parts.h"

using namespace tabulon;

namespace {

enum Tag : char { FromTemplate, FromName, FromContent };

// The entry as characters tagged with their origin; a barrier stands where an
// empty name value was put, so that nothing joins across it.
struct Model {
    std::string text;
    std::string tags;
    std::vector<bool> barrierBefore; // size text.size() + 1

    bool IsTemplateText(std::size_t at, std::size_t length) const {
        for (std::size_t i = at; i < at + length; ++i) {
            if (tags[i] == FromName)
                return false;
        }
        for (std::size_t i = at + 1; i < at + length; ++i) {
            if (barrierBefore[i])
                return false;
        }
        return true;
    }

    std::size_t Find(std::string_view marker, std::size_t from) const {
        for (std::size_t at = text.find(marker, from); at != std::string::npos;
             at = text.find(marker, at + 1)) {
            if (IsTemplateText(at, marker.size()))
                return at;
        }
        return std::string::npos;
    }

    void Replace(std::string_view placeholder, std::string_view value, Tag tag) {
        for (std::size_t at = Find(placeholder, 0); at != std::string::npos;
             at = Find(placeholder, at + value.size())) {
            text.replace(at, placeholder.size(), value);
            tags.replace(at, placeholder.size(), value.size(), tag);
            // Boundaries: those before the placeholder stay, the one after it
            // moves to the end of the value; an empty name value is one itself.
            std::vector<bool> barriers(barrierBefore.begin(),
                                       barrierBefore.begin() + static_cast<long>(at) + 1);
            barriers.resize(at + value.size() + 1, false);
            barriers[at + value.size()] =
                barriers[at + value.size()] || barrierBefore[at + placeholder.size()];
            if (value.empty() && tag == FromName)
                barriers[at] = true;
            barriers.insert(barriers.end(),
                            barrierBefore.begin() + static_cast<long>(at + placeholder.size()) + 1,
                            barrierBefore.end());
            barrierBefore = std::move(barriers);
        }
    }
};

std::string Lines(const std::string& path) {
    std::string out;
    FileReader reader;
    if (!reader.Read(path))
        AppendLines(reader.data(), out);
    return out;
}

std::string ModelEntry(const TemplateSet& set, std::string_view folder, std::string_view name) {
    Model m;
    m.text = ExpandLineBreaks(set.newEntry + set.endEntry);
    m.tags.assign(m.text.size(), FromTemplate);
    m.barrierBefore.assign(m.text.size() + 1, false);

    const std::string_view ext = GetFileExt(name);
    std::string file;
    std::string path;
    if (folder.empty()) {
        file = name;
        path = GetFilePath(name);
    } else {
        AppendJoinedPath(file, folder, name);
        path = file.substr(0, file.size() - name.size());
    }
    m.Replace("{{BASE}}", GetFileBase(name), FromName);
    m.Replace("{{EXT}}", ext, FromName);
    m.Replace("{{SHORTEXT}}", ext.empty() ? ext : ext.substr(1), FromName);
    m.Replace("{{FILE}}", file, FromName);
    m.Replace("{{PATH}}", path, FromName);
    if (m.Find("{{INC}}", 0) != std::string::npos)
        m.Replace("{{INC}}", Lines(file), FromContent);

    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t open = m.Find("{{INC(", start);
        if (open == std::string::npos)
            break;
        const std::size_t close = m.Find(")}}", open);
        if (close == std::string::npos)
            break;
        out += m.text.substr(start, open - start);
        out += Lines(m.text.substr(open + 6, close - open - 6));
        start = close + 3;
    }
    return out + m.text.substr(start);
}

void Prepare() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const auto dir = std::filesystem::temp_directory_path() / "tabulon-expand-fuzz";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::ofstream("a") << "A\r\nline";
    std::ofstream("b.txt") << "{{INC(a)}}{{FILE}}\r";
    std::ofstream("c") << "x{{INC(";
    std::filesystem::create_directories("d");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Prepare();
    fuzz::Fields fields(data, size);
    TemplateSet set;
    set.newEntry = fields.Next();
    set.endEntry = fields.Next();
    const std::string_view folder = fields.Next();
    const std::string_view name = fields.Next();
    set.addComments = kUnchecked;
    if (set.newEntry.size() + set.endEntry.size() > 4096)
        return 0;

    StringSink sink;
    EntryProcessor processor(set, 1, sink);
    processor.ProcessFile(folder, name);
    const std::string got = sink.take();
    const std::string expected = ModelEntry(set, folder, name);
    if (got != expected) {
        std::fprintf(stderr, "engine: [%s]\nmodel:  [%s]\n", got.c_str(), expected.c_str());
        std::abort();
    }
    return 0;
}
