#pragma once

#include <string>
#include <string_view>

// Splitting file names into folder, base name and extension. Both '/' and '\'
// separate name parts, so names written either way split alike. The results are
// views into the argument.
namespace tabulon {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

constexpr bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The name up to and including its last separator; empty when it has none.
std::string_view GetFilePath(std::string_view name);

// The extension of the last name part, dot included; empty when it has none.
std::string_view GetFileExt(std::string_view name);

// The last name part without its extension.
std::string_view GetFileBase(std::string_view name);

// Appends folder and name joined by one separator; a folder that already ends
// in a separator gets no second one.
void AppendJoinedPath(std::string& out, std::string_view folder, std::string_view name);

} // namespace tabulon
