#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/file_types.h"
#include "cli/left_out_kinds.h"
#include "listgen/natural_order.h"
#include "posix/io_result.h"
#include "posix/result.h"

namespace tabulon::cli {

enum class SortKey { None, Name, Natural, Date, Size, Taken };

// How names become the files of a list: folders opened, hidden files and
// other types left out, the whole list sorted.
struct ListingRules {
    bool recursive = false;
    bool hidden = false;
    SortKey sort = SortKey::None;
    bool reverse = false;
    FileTypes types; // of the files found in folders; names given are taken as they are
    std::function<std::string(const std::string&)> taken; // the day a photo was taken, for SortKey::Taken
    std::function<void(const std::string&)> warn;         // hears of a folder given that is left out
};

// Gathers the files of a list. A folder stands for the regular files in it
// (in natural order; its subfolders too when recursive, after its own
// files); anything else is listed by its name as given. A folder tagged as a
// cache (CACHEDIR.TAG: Tabulon's thumbnails among others) is never walked. Without sorting,
// each file goes on at once, so a long list never piles up in memory.
class FileList {
public:
    using Emit = std::function<void(std::string_view)>;

    // `natural` is loaded whenever needsNaturalOrder() says so.
    FileList(ListingRules rules, NaturalCollation& natural, Emit emit);

    // A name as given, a folder standing for its files; fails when a folder
    // cannot be read.
    IoResult add(std::string_view name);
    // A file by its name as given.
    void addFile(std::string_view name);
    // Files go on as they come: nothing is held back for sorting.
    bool streams() const { return rules_.sort == SortKey::None && !rules_.reverse; }
    // Hands on what sorting held back. Fails, handing on nothing, when
    // entries tie and the collation module that orders them cannot be loaded.
    [[nodiscard]] Result<void, std::string> finish();
    // What the types left out of the folders that looks like pictures or
    // videos; counted only when the types take pictures.
    const LeftOutKinds& leftOut() const { return leftOut_; }
    // The thumbnail folders Tabulon made that walks came upon and left out.
    const std::vector<std::string>& thumbnailFolders() const { return thumbnailFolders_; }

private:
    struct Entry {
        std::string path;
        std::string key;   // for natural order
        std::string taken; // the day taken
        std::uint64_t size = 0;
        std::int64_t mtime = 0;
    };

    IoResult addFolder(const std::string& folder);
    template <class Same> [[nodiscard]] Result<void, std::string> breakTies(Same same);
    void take(std::string_view path);

    ListingRules rules_;
    NaturalCollation& natural_;
    Emit emit_;
    std::vector<Entry> held_;
    LeftOutKinds leftOut_;
    bool countLeftOut_;
    std::vector<std::string> thumbnailFolders_;
};

// Whether a list of these names needs the collation module from the start:
// sorted in natural order, or in the order found with a folder among them.
// Lists sorted by date, size or day taken load it only for ties; the others
// pay nothing for it.
bool needsNaturalOrder(const ListingRules& rules, const std::vector<std::string>& names);

// nullopt for a word that names no order.
[[nodiscard]] std::optional<SortKey> parseSortKey(std::string_view text);

} // namespace tabulon::cli
