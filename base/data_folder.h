#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// The folder of the files shipped with the programs (help page, presets),
// ending in '/': the program's own folder when `marker` lies in it (the build
// tree), else the installed data folder as reached from there. Plain C++, so
// that the batch program finds its presets without Qt.
std::string dataFolder(std::string_view marker);

// Where the shared module `name` is: beside the program (the build tree),
// else in the installed library folder reached from there.
std::string modulePath(std::string_view name);

// The shipped presets, ending in '/'.
std::string presetsFolder();

} // namespace tabulon
