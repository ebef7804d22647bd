#pragma once

#include <string_view>

namespace tabulon {

// Orders names as people read them: runs of digits compare as numbers, so
// img2 comes before img10; otherwise byte by byte. Equal numbers with more
// leading zeros come later, so the order is total.
bool naturalLess(std::string_view a, std::string_view b);

} // namespace tabulon
