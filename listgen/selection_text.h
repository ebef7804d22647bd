#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text a file selection leaves behind: one full path, or the folder and
// the names, separated by NUL characters.
namespace tabulon {

// One name: the joined full path. Several: folder NUL name NUL name ...
std::string buildSelectionText(std::string_view folder, const std::vector<std::string>& names);

// The selection for the absolute paths a file dialog reports, in order: one
// path as it is; files of one folder as folder and names; files of several
// folders (a dialog may allow that) each by its full path, under an empty folder.
std::string selectionFromPaths(const std::vector<std::string>& paths);

// The longest folder that holds every file of a selection, its name made
// normal; empty for no files.
std::string selectionFolder(std::string_view selection);

// Calls f(folder, name) for each file in the selection's order: folder empty
// and name the full path for a single file. Names are passed exactly as they
// stand, leading blanks included; empty names are no files and are skipped.
template <class F> void forEachSelectedFile(std::string_view selection, F&& f) {
    std::size_t nul = selection.find('\0');
    if (nul == std::string_view::npos) {
        if (!selection.empty())
            f(std::string_view(), selection);
        return;
    }
    const std::string_view folder = selection.substr(0, nul);
    std::string_view rest = selection.substr(nul + 1);
    while (!rest.empty()) {
        nul = rest.find('\0');
        const std::string_view name = rest.substr(0, nul);
        if (!name.empty())
            f(folder, name);
        if (nul == std::string_view::npos)
            break;
        rest.remove_prefix(nul + 1);
    }
}

} // namespace tabulon
