#include "cli/presets.h"

#include <algorithm>
#include <utility>

#include <dirent.h>

namespace tabulon::cli {

std::vector<std::string> presetNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.size() > 4 && name.ends_with(".ini") && name.front() != '.')
                names.emplace_back(name.substr(0, name.size() - 4));
        }
        ::closedir(dir);
    }
    return names;
}

Result<std::vector<std::string>, std::string> sortedPresetNames(const std::string& folder,
                                                                NaturalCollation& natural) {
    const std::vector<std::string> names = presetNames(folder);
    if (names.size() < 2)
        return names;
    if (const Result<void, std::string> loaded = natural.load(); !loaded.ok())
        return loaded.error();
    std::vector<std::pair<std::string, const std::string*>> keyed;
    keyed.reserve(names.size());
    for (const std::string& name : names) {
        std::string key;
        natural.appendNameKey(name, key);
        keyed.emplace_back(std::move(key), &name);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const auto& [key, name] : keyed)
        sorted.push_back(*name);
    return sorted;
}

} // namespace tabulon::cli
