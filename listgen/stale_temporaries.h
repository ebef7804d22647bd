#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// removeStaleTemporaries on `folder`, once per folder in the life of the
// process, whichever thread asks first. Safe from several threads at once.
void removeStaleTemporariesOnce(const std::string& folder, std::string_view prefix);

} // namespace tabulon
