#pragma once

#include <string>
#include <string_view>

// Splitting file names into folder, base name and extension. Only '/'
// separates name parts: a backslash is an ordinary character of a name here.
// The results are views into the argument.
namespace tabulon {

inline constexpr char kNativeSeparator = '/';

constexpr bool isSeparator(char c) {
    return c == kNativeSeparator;
}

// The name up to and including its last separator; empty when it has none.
std::string_view GetFilePath(std::string_view name);

// The extension of the last name part, dot included; empty when it has none.
std::string_view GetFileExt(std::string_view name);

// The last name part without its extension.
std::string_view GetFileBase(std::string_view name);

// Appends a folder ending in one separator: a folder that already ends in one
// gets no second. `Out` needs append(const char*, std::size_t).
template <class Out> void appendFolder(Out& out, std::string_view folder) {
    out.append(folder.data(), folder.size());
    if (!folder.empty() && !isSeparator(folder.back()))
        out.append(&kNativeSeparator, 1);
}

// Appends folder and name joined by one separator.
template <class Out> void appendJoinedPath(Out& out, std::string_view folder, std::string_view name) {
    appendFolder(out, folder);
    out.append(name.data(), name.size());
}

} // namespace tabulon
