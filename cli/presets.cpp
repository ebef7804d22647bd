#include "cli/presets.h"

#include <algorithm>
#include <climits>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "listgen/name_parts.h"
#include "listgen/natural_order.h"
#include "tabulon/version.h"

namespace tabulon::cli {

namespace {

std::string ProgramFolder() {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "./";
    return std::string(GetFilePath(std::string_view(self, static_cast<std::size_t>(n))));
}

} // namespace

std::string PresetsFolder() {
    const std::string bin = ProgramFolder();
    struct stat st {};
    if (::stat((bin + "presets").c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return bin + "presets";
    return bin + kDataFromBin + "/presets";
}

std::vector<std::string> PresetNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.size() > 4 && name.ends_with(".ini") && name.front() != '.')
                names.emplace_back(name.substr(0, name.size() - 4));
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

} // namespace tabulon::cli
