#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "posix/result.h"

namespace tabulon {

// A folder of thumbnails that Tabulon made carries a CACHEDIR.TAG (the Cache
// Directory Tagging Standard, which backup tools honour too). Folder walks
// never list a tagged folder, and only what sits in a folder Tabulon made is
// ever replaced or pruned: a user's own folder that happens to share the
// thumbnail folder's name is left as it is.
enum class FolderTag {
    None,    // no valid tag: the user's folder
    Foreign, // a cache folder of some other program
    Tabulon, // a thumbnail folder Tabulon made
};

inline constexpr std::string_view kCacheTagName = "CACHEDIR.TAG";

// The tag of the folder `name`, relative to the open folder `at` (AT_FDCWD
// for a path).
FolderTag readFolderTag(int at, const std::string& name);
FolderTag readFolderTag(const std::string& folder);

// Makes the thumbnail folder `folder` when it is missing and tags it as
// Tabulon's. An existing untagged folder is tagged only when it holds nothing
// but thumbnails by name of the pictures beside it; any other keeps its tag
// or has none. The folder's tag, else why it cannot be had.
[[nodiscard]] Result<FolderTag, std::string> makeThumbnailFolder(const std::string& folder);

// The thumbnail folders of one run: each made or looked at once, whichever
// thread comes first, rid of the temporaries of runs that are gone when it is
// Tabulon's, and remembered for the look at leftovers after the list.
class ThumbnailFolders {
public:
    [[nodiscard]] Result<FolderTag, std::string> prepare(const std::string& folder);
    // The folders Tabulon made among those prepared, in the order first seen.
    std::vector<std::string> tabulonFolders() const;

private:
    mutable std::mutex lock_;
    std::vector<std::pair<std::string, Result<FolderTag, std::string>>> seen_; // in the order first seen
};

} // namespace tabulon
