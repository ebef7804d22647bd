#pragma once

#include <string_view>
#include <vector>

namespace tabulon::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

// The whole batch run: arguments without the program name; returns the exit code.
[[nodiscard]] int run(const std::vector<std::string_view>& args);

} // namespace tabulon::cli
