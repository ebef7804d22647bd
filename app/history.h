#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

inline constexpr std::size_t kMaxHistory = 15;

// The history of a template box after Go: the current text becomes the newest
// entry unless it equals the newest one already; the oldest entries beyond
// fifteen are dropped. Entry 0 is the newest.
std::vector<std::string> UpdateComboList(std::vector<std::string> history, std::string_view current);

} // namespace tabulon
