#include "cli/file_types.h"

#include <algorithm>

#include <fnmatch.h>

namespace tabulon::cli {

namespace {

// Splits at ';' and drops the blanks around each pattern, and empty ones.
void addPatterns(std::vector<std::string>& to, std::string_view patterns) {
    while (!patterns.empty()) {
        const std::size_t end = std::min(patterns.find(';'), patterns.size());
        std::string_view pattern = patterns.substr(0, end);
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
        while (!pattern.empty() && pattern.front() == ' ')
            pattern.remove_prefix(1);
        while (!pattern.empty() && pattern.back() == ' ')
            pattern.remove_suffix(1);
        // "*.*" is the dialog's "All files": names without a dot too.
        if (pattern == "*.*")
            pattern = "*";
        if (!pattern.empty())
            to.emplace_back(pattern);
    }
}

bool matchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    });
}

// One name of each picture type browsers show.
constexpr const char* kPictureNames[] = {"a.jpg", "a.jpeg", "a.png", "a.gif", "a.webp", "a.avif"};

} // namespace

void FileTypes::include(std::string_view patterns) {
    addPatterns(included_, patterns);
}

void FileTypes::exclude(std::string_view patterns) {
    addPatterns(excluded_, patterns);
}

bool FileTypes::excludes(const std::string& name) const {
    return matchesAny(excluded_, name);
}

bool FileTypes::takesPictures() const {
    if (included_.empty())
        return false;
    return std::any_of(std::begin(kPictureNames), std::end(kPictureNames),
                       [this](const char* name) { return takes(name); });
}

bool FileTypes::takes(const std::string& name) const {
    if (matchesAny(excluded_, name))
        return false;
    return included_.empty() || matchesAny(included_, name);
}

} // namespace tabulon::cli
