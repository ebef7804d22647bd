#pragma once

#include <string_view>

namespace tabulon {

// Removes, from the folder open as `dir`, the temporary files of runs that
// are gone (killed before they could rename or remove them): regular files
// named `prefix`, a process ID, '-' and anything, whose process no longer
// exists. Nothing else is touched; what cannot be removed stays.
void removeStaleTemporaries(int dir, std::string_view prefix);

} // namespace tabulon
