#include "listgen/selection_text.h"

#include <filesystem>
#include <optional>

#include "base/name_parts.h"

namespace tabulon {

std::string buildSelectionText(std::string_view folder, const std::vector<std::string>& names) {
    std::string text;
    if (names.size() == 1) {
        if (folder.empty())
            text = names.front();
        else
            appendJoinedPath(text, folder, names.front());
        return text;
    }
    text.assign(folder);
    for (const std::string& name : names) {
        text.push_back('\0');
        text.append(name);
    }
    return text;
}

std::string selectionFromPaths(const std::vector<std::string>& paths) {
    if (paths.size() == 1)
        return paths.front();
    const std::string_view folder = paths.empty() ? std::string_view() : GetFilePath(paths.front());
    std::vector<std::string> names;
    names.reserve(paths.size());
    for (const std::string& path : paths) {
        if (GetFilePath(path) != folder)
            return buildSelectionText({}, paths);
        names.emplace_back(path.substr(folder.size()));
    }
    // The folder without its separator, as a dialog reports it; the root keeps its own.
    std::string_view bare = folder;
    if (bare.size() > 1)
        bare.remove_suffix(1);
    return buildSelectionText(bare, names);
}

std::string selectionFolder(std::string_view selection) {
    namespace fs = std::filesystem;
    std::optional<fs::path> common;
    forEachSelectedFile(selection, [&common](std::string_view folder, std::string_view name) {
        std::string file;
        appendJoinedPath(file, folder, name);
        const fs::path parent = fs::path(file).lexically_normal().parent_path();
        if (!common) {
            common = parent;
            return;
        }
        fs::path shared;
        for (auto a = common->begin(), b = parent.begin();
             a != common->end() && b != parent.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = std::move(shared);
    });
    return common ? common->string() : std::string();
}

} // namespace tabulon
