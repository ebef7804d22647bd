#pragma once

#include <string>
#include <vector>

namespace tabulon::cli {

// The presets' names (their file names without ".ini"), in natural order.
std::vector<std::string> presetNames(const std::string& folder);

} // namespace tabulon::cli
