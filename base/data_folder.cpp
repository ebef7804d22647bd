#include "base/data_folder.h"

#include <climits>

#include <sys/stat.h>
#include <unistd.h>

#include "base/name_parts.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

// The running program's folder, ending in '/'.
std::string programFolder() {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "./";
    return std::string(GetFilePath(std::string_view(self, static_cast<std::size_t>(n))));
}

} // namespace

std::string dataFolder(std::string_view marker) {
    std::string folder = programFolder();
    struct stat st {};
    if (::stat((folder + std::string(marker)).c_str(), &st) == 0)
        return folder;
    return folder + kDataFromBin + "/";
}

std::string modulePath(std::string_view name) {
    const std::string folder = programFolder();
    std::string beside = folder + std::string(name);
    struct stat st {};
    if (::stat(beside.c_str(), &st) == 0)
        return beside;
    return folder + kModulesFromBin + "/" + std::string(name);
}

std::string presetsFolder() {
    return dataFolder("presets") + "presets/";
}

} // namespace tabulon
