#include "listgen/folder_names.h"

#include <filesystem>
#include <system_error>

#include "base/name_parts.h"

namespace tabulon {

std::string_view folderOfPath(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    if (end > 0)
        return path.substr(0, end);
    return path.empty() ? "." : "/";
}

std::string folderName(std::string_view folder) {
    const std::string_view last = folder.substr(GetFilePath(folder).size());
    if (last != "." && last != "..")
        return std::string(last.empty() ? folder : last);
    namespace fs = std::filesystem;
    fs::path resolved(folder);
    if (resolved.is_relative()) {
        std::error_code error;
        const fs::path current = fs::current_path(error);
        if (error) // a current folder that is gone leaves the name as written
            return std::string(last);
        resolved = current / resolved;
    }
    resolved = resolved.lexically_normal();
    if (!resolved.has_filename()) // "/a/b/.." is "/a/"
        resolved = resolved.parent_path();
    const std::string name = resolved.filename().string();
    return name.empty() ? std::string("/") : name;
}

} // namespace tabulon
