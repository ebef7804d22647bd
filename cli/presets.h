#pragma once

#include <string>
#include <vector>

#include "listgen/natural_order.h"
#include "posix/result.h"

namespace tabulon::cli {

// The presets' names (their file names without ".ini"), in no set order.
std::vector<std::string> presetNames(const std::string& folder);

// The same in natural order, the collation module loaded when there are two
// or more; the loader's reason when it cannot be.
[[nodiscard]] Result<std::vector<std::string>, std::string> sortedPresetNames(const std::string& folder,
                                                                              NaturalCollation& natural);

} // namespace tabulon::cli
