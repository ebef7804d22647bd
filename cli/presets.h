#pragma once

#include <string>
#include <vector>

namespace tabulon::cli {

// The folder of the shipped presets: beside the program in the build tree,
// in the installed data folder otherwise.
std::string PresetsFolder();

// The presets' names (their file names without ".ini"), in natural order.
std::vector<std::string> PresetNames(const std::string& folder);

} // namespace tabulon::cli
