#include "listgen/relative_names.h"

#include <system_error>

namespace tabulon {

namespace fs = std::filesystem;

RelativeNames::RelativeNames(std::string_view folder) {
    std::error_code error;
    fs::path current = fs::current_path(error);
    if (!error)
        current_ = std::move(current);
    folder_ = absolute(folder);
}

std::optional<fs::path> RelativeNames::absolute(std::string_view name) const {
    fs::path path(name);
    if (path.is_relative()) {
        if (!current_)
            return std::nullopt;
        path = *current_ / path;
    }
    path = path.lexically_normal();
    // "/a/b/" and "/a/b/.." name folders: without the closing separator, as
    // the other names have none.
    if (!path.has_filename() && path != path.root_path())
        path = path.parent_path();
    return path;
}

std::optional<std::string> RelativeNames::of(std::string_view name) const {
    const std::optional<fs::path> path = absolute(name);
    if (!path || !folder_)
        return std::nullopt;
    std::string relative = path->lexically_relative(*folder_).string();
    if (relative.empty())
        return std::nullopt;
    return relative;
}

std::string resolveRelativeTo(std::string_view pageFolder, std::string_view relativeTo) {
    fs::path folder = (fs::path(pageFolder) / relativeTo).lexically_normal();
    if (!folder.has_filename() && folder.has_relative_path()) // "a/b/.." is "a/"
        folder = folder.parent_path();
    return folder.string();
}

} // namespace tabulon
