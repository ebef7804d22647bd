// The entry expansion against a slow model that replaces the placeholders one
// after the other over the whole entry, as a user would by hand: both must
// give the same bytes. Include names resolve inside a folder of known files.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/name_parts.h"
#include "fuzz_input.h"
#include "listgen/entry_processor.h"
#include "listgen/escape.h"
#include "listgen/file_facts.h"
#include "listgen/image_size.h"

using namespace tabulon;

namespace {

enum Tag : char { FromTemplate, FromName, FromContent };

// Where an empty value was put, text does not join across it: no placeholder
// across any empty value, and no include marker across an empty name value.
enum Barrier : char { None, AfterContent, AfterName };

// The entry as characters tagged with their origin, and the barriers between them.
struct Model {
    std::string text;
    std::string tags;
    std::vector<Barrier> barrierBefore; // size text.size() + 1

    // Placeholders are found in template text only; include markers also in
    // the file's own text.
    bool isTemplateText(std::size_t at, std::size_t length, bool contentCounts) const {
        for (std::size_t i = at; i < at + length; ++i) {
            if (tags[i] == FromName || (tags[i] == FromContent && !contentCounts))
                return false;
        }
        for (std::size_t i = at + 1; i < at + length; ++i) {
            if (barrierBefore[i] == AfterName || (barrierBefore[i] == AfterContent && !contentCounts))
                return false;
        }
        return true;
    }

    std::size_t find(std::string_view marker, std::size_t from, bool contentCounts = false) const {
        for (std::size_t at = text.find(marker, from); at != std::string::npos;
             at = text.find(marker, at + 1)) {
            if (isTemplateText(at, marker.size(), contentCounts))
                return at;
        }
        return std::string::npos;
    }

    void replace(std::string_view placeholder, std::string_view value, Tag tag) {
        for (std::size_t at = find(placeholder, 0); at != std::string::npos;
             at = find(placeholder, at + value.size())) {
            text.replace(at, placeholder.size(), value);
            tags.replace(at, placeholder.size(), value.size(), tag);
            // Boundaries: those before the placeholder stay, the one after it
            // moves to the end of the value; an empty value is one itself.
            std::vector<Barrier> barriers(barrierBefore.begin(),
                                          barrierBefore.begin() + static_cast<long>(at) + 1);
            barriers.resize(at + value.size() + 1, None);
            barriers[at + value.size()] =
                std::max(barriers[at + value.size()], barrierBefore[at + placeholder.size()]);
            if (value.empty())
                barriers[at] = std::max(barriers[at], tag == FromName ? AfterName : AfterContent);
            barriers.insert(barriers.end(),
                            barrierBefore.begin() + static_cast<long>(at + placeholder.size()) + 1,
                            barrierBefore.end());
            barrierBefore = std::move(barriers);
        }
    }
};

// A value and its escaped forms, {{NAME}}, {{NAME:html}} and {{NAME:url}}.
void replaceWithForms(Model& m, const std::string& name, std::string_view value, Tag tag = FromName) {
    std::string html;
    std::string url;
    appendHtmlEscaped(html, value);
    appendUrlEscaped(url, value);
    m.replace("{{" + name + "}}", value, tag);
    // The escaped forms stand for text that is never read again.
    m.replace("{{" + name + ":html}}", html, FromName);
    m.replace("{{" + name + ":url}}", url, FromName);
}

std::string lines(const std::string& path) {
    std::string out;
    FileReader reader;
    if (reader.read(path).ok())
        appendLines(reader.data(), out);
    return out;
}

// {{PATH}} without its closing separators.
std::string modelFolder(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    if (!folder.empty())
        return folder;
    return path.empty() ? "." : "/";
}

// The names from the root down to `name`, worked off by hand from the current
// folder, segment by segment.
std::vector<std::string> modelSegments(const std::string& name) {
    const std::string full =
        name.starts_with('/') ? name : std::filesystem::current_path().string() + "/" + name;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= full.size()) {
        const std::size_t end = std::min(full.find('/', start), full.size());
        const std::string segment = full.substr(start, end - start);
        if (segment == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!segment.empty() && segment != ".") {
            names.push_back(segment);
        }
        start = end + 1;
    }
    return names;
}

// The last name; one that is "." or ".." worked off from the current folder.
std::string modelFolderName(const std::string& folder) {
    if (folder == "/")
        return folder;
    const std::size_t slash = folder.rfind('/');
    const std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (last != "." && last != "..")
        return last;
    const std::vector<std::string> names = modelSegments(folder);
    return names.empty() ? "/" : names.back();
}

// The name from the current folder: up to the names both share, then down.
std::string modelRelative(const std::string& name) {
    const std::vector<std::string> to = modelSegments(name);
    const std::vector<std::string> from = modelSegments(".");
    std::size_t shared = 0;
    while (shared < to.size() && shared < from.size() && to[shared] == from[shared])
        ++shared;
    std::string relative;
    for (std::size_t i = shared; i < from.size(); ++i)
        relative += relative.empty() ? ".." : "/..";
    for (std::size_t i = shared; i < to.size(); ++i)
        relative += (relative.empty() ? "" : "/") + to[i];
    return relative.empty() ? "." : relative;
}

std::string modelEntry(const TemplateSet& set, std::string_view folder, std::string_view name) {
    Model m;
    m.text = expandLineBreaks(set.newEntry + set.endEntry);
    m.tags.assign(m.text.size(), FromTemplate);
    m.barrierBefore.assign(m.text.size() + 1, None);

    const std::string_view ext = GetFileExt(name);
    std::string file;
    std::string path;
    if (folder.empty()) {
        file = name;
        path = GetFilePath(name);
    } else {
        appendJoinedPath(file, folder, name);
        path = file.substr(0, file.size() - name.size());
    }
    const std::string_view base = GetFileBase(name);
    const std::string_view shortExt = ext.empty() ? ext : ext.substr(1);
    const std::string content = lines(file);
    const std::pair<const char*, std::string_view> values[] = {
        {"BASE", base}, {"EXT", ext}, {"SHORTEXT", shortExt}, {"FILE", file}, {"PATH", path}};
    for (const auto& [placeholder, value] : values)
        replaceWithForms(m, placeholder, value);
    replaceWithForms(m, "INC", content, FromContent);
    FileReader head;
    std::optional<ImageSize> image;
    if (head.readHead(file, kJpegHeadSize).ok())
        image = readImageSize(head.data());
    const FileFacts facts = readFileFacts(file);
    m.replace("{{WIDTH}}", image ? std::to_string(image->width) : "", FromName);
    m.replace("{{HEIGHT}}", image ? std::to_string(image->height) : "", FromName);
    m.replace("{{SIZE}}", facts.size ? std::to_string(*facts.size) : "", FromName);
    m.replace("{{DATE}}", facts.date, FromName);
    for (const char* counter : {"{{N}}", "{{ROW}}", "{{COL}}"})
        m.replace(counter, "1", FromName); // one entry, one column
    const std::string folderPath = modelFolder(path);
    const std::string folderName = modelFolderName(folderPath);
    replaceWithForms(m, "FOLDER", folderPath);
    replaceWithForms(m, "FOLDERNAME", folderName);

    const std::string relativeFolder = modelRelative(folderPath);
    const std::string relatives[][2] = {
        {"FILE", modelRelative(file)},
        {"PATH", relativeFolder == "." ? "" : relativeFolder + "/"},
        {"FOLDER", relativeFolder},
    };
    for (const auto& [placeholder, value] : relatives)
        replaceWithForms(m, placeholder + ":rel", value);

    // An include runs to the first ")" that ends it: ")}}" or ")" with a form
    // ":word}}"; the forms known are escaped, any other stays as written.
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t open = m.find("{{INC(", start, true);
        if (open == std::string::npos)
            break;
        std::size_t close = open + 6;
        std::string form;
        for (close = m.find(")", close, true); close != std::string::npos;
             close = m.find(")", close + 1, true)) {
            std::size_t end = close + 1;
            if (end < m.text.size() && m.text[end] == ':')
                while (++end < m.text.size() && std::isalnum(static_cast<unsigned char>(m.text[end])))
                    ;
            if (m.text.compare(end, 2, "}}") == 0 && m.isTemplateText(close, end + 2 - close, true)) {
                form = m.text.substr(close + 1, end - close - 1);
                break;
            }
        }
        if (close == std::string::npos)
            break;
        const std::size_t end = close + form.size() + 3;
        out += m.text.substr(start, open - start);
        const std::string included = lines(m.text.substr(open + 6, close - open - 6));
        if (form.empty())
            out += included;
        else if (form == ":html")
            appendHtmlEscaped(out, included);
        else if (form == ":url")
            appendUrlEscaped(out, included);
        else
            out += m.text.substr(open, end - open);
        start = end;
    }
    return out + m.text.substr(start);
}

// The folder of known files, made once and made the working folder.
bool prepare() {
    const auto dir = std::filesystem::temp_directory_path() / "tabulon-expand-fuzz";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::ofstream("a") << "A\r\nline";
    std::ofstream("b.txt") << "{{INC(a)}}{{FILE}}\r";
    std::ofstream("c") << "x{{INC(";
    std::ofstream("h") << "<&\"'>):html}}";
    std::ofstream("e");
    std::ofstream("p.png", std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x0c", 24);
    std::ofstream("s.svg") << "<svg width=\"30\" height='20px' xmlns=\"http://www.w3.org/2000/svg\"/>";
    std::filesystem::create_directories("d");
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    [[maybe_unused]] static const bool prepared = prepare();
    fuzz::Fields fields(data, size);
    TemplateSet set;
    set.newEntry = fields.next();
    set.endEntry = fields.next();
    const std::string_view folder = fields.next();
    const std::string_view name = fields.next();
    set.addComments = kUnchecked;
    if (set.newEntry.size() + set.endEntry.size() > 4096)
        return 0;

    StringSink sink;
    EntryProcessor processor(set, 1, sink);
    processor.ProcessFile(folder, name);
    const std::string got = sink.take();
    const std::string expected = modelEntry(set, folder, name);
    if (got != expected) {
        std::fprintf(stderr, "engine: [%s]\nmodel:  [%s]\n", got.c_str(), expected.c_str());
        std::abort();
    }
    return 0;
}
