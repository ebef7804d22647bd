#include "cli/left_out_kinds.h"

#include <algorithm>
#include <iterator>

#include "base/name_parts.h"

namespace tabulon::cli {

namespace {

struct KnownKind {
    std::string_view ext; // lower case, with its dot
    bool thumbnailed;
};

// Pictures and videos that browsers do not show in a page; the first ones
// libvips reads, through libheif and libtiff.
constexpr KnownKind kKinds[] = {
    {".heic", true}, {".heif", true},  {".hif", true},  {".tif", true},  {".tiff", true},  {".jxl", false},
    {".psd", false}, {".dng", false},  {".cr2", false}, {".cr3", false}, {".nef", false},  {".arw", false},
    {".orf", false}, {".rw2", false},  {".raf", false}, {".srw", false}, {".pef", false},  {".mov", false},
    {".mp4", false}, {".m4v", false},  {".avi", false}, {".mkv", false}, {".webm", false}, {".3gp", false},
    {".mts", false}, {".m2ts", false}, {".wmv", false}, {".mpg", false}, {".mpeg", false}, {".insv", false},
};

bool sameLetters(std::string_view a, std::string_view lower) {
    return std::equal(a.begin(), a.end(), lower.begin(), lower.end(), [](char c, char l) {
        return (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == l;
    });
}

} // namespace

void LeftOutKinds::count(std::string_view name) {
    const std::string_view ext = GetFileExt(name);
    if (ext.size() < 4 || ext.size() > 5)
        return; // no known kind: most names end here
    const auto known = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [ext](const KnownKind& kind) { return sameLetters(ext, kind.ext); });
    if (known == std::end(kKinds))
        return;
    const auto row = static_cast<std::size_t>(known - std::begin(kKinds));
    auto kind = std::find_if(kinds_.begin(), kinds_.end(), [row](const Kind& k) { return k.known == row; });
    if (kind == kinds_.end())
        kind = kinds_.insert(kinds_.end(), Kind{row, 0, {}});
    ++kind->files;
    auto spelling = std::find_if(kind->spellings.begin(), kind->spellings.end(),
                                 [ext](const auto& s) { return s.first == ext; });
    if (spelling == kind->spellings.end())
        spelling = kind->spellings.insert(kind->spellings.end(), {std::string(ext), 0});
    ++spelling->second;
}

std::string LeftOutKinds::message(bool thumbnails, std::string_view addTypes) const {
    std::vector<Kind> kinds = kinds_;
    std::sort(kinds.begin(), kinds.end(), [](const Kind& a, const Kind& b) { return a.known < b.known; });
    std::string text = "left out ";
    std::string patterns;
    bool all = true; // every kind gets thumbnails
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const Kind& kind = kinds[i];
        const auto spelled =
            std::min_element(kind.spellings.begin(), kind.spellings.end(), [](const auto& a, const auto& b) {
                return a.second != b.second ? a.second > b.second : a.first < b.first;
            });
        if (i > 0)
            text += i + 1 == kinds.size() ? " and " : ", ";
        text += std::to_string(kind.files) + " " + spelled->first;
        if (kKinds[kind.known].thumbnailed)
            patterns += (patterns.empty() ? "*" : ";*") + std::string(kKinds[kind.known].ext);
        else
            all = false;
    }
    text += kinds.size() == 1 && kinds.front().files == 1 ? " file" : " files";
    text += ", which browsers do not show as pictures";
    if (thumbnails && !patterns.empty()) {
        text += "; " + std::string(addTypes) + " '" + patterns + "' lists ";
        text += all ? "them" : "the pictures";
        text += " as thumbnails";
    }
    return text;
}

} // namespace tabulon::cli
