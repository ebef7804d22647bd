#include "cli/presets.h"

#include <algorithm>

#include <dirent.h>

#include "listgen/natural_order.h"

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
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

} // namespace tabulon::cli
