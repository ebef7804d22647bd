#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// Names as a page in another folder links to them: made absolute against the
// current folder, lexically normalised (links and ".." are not looked up on
// disk, as a web server does not), then relative to the page's folder, with
// ".." where needed.
class RelativeNames {
public:
    // `folder` is absolute or relative to the current folder; empty is the
    // current folder itself.
    explicit RelativeNames(std::string_view folder);

    // "." for the folder itself; none when the name cannot be made relative
    // (the current folder is gone and one of the two is relative).
    std::optional<std::string> of(std::string_view name) const;

private:
    std::optional<std::filesystem::path> absolute(std::string_view name) const;

    std::optional<std::filesystem::path> current_;
    std::optional<std::filesystem::path> folder_;
};

// The page's folder a configuration's RelativeTo= names: `relativeTo` taken
// from `pageFolder`, where the page goes by default, unless it is absolute;
// normalised, without a closing separator.
std::string resolveRelativeTo(std::string_view pageFolder, std::string_view relativeTo);

} // namespace tabulon
