#pragma once

#include <string>
#include <string_view>

// What the folder placeholders write for an entry's folder.
namespace tabulon {

// {{FOLDER}}: a {{PATH}} without its closing separators; "." for an empty
// one and "/" for the root. A view into `path` or into static text.
std::string_view folderOfPath(std::string_view path);

// {{FOLDERNAME}}: the last name of a folder as folderOfPath gives it. A last
// name "." or ".." says nothing to a reader, so it is resolved from the
// current folder ("../" in /home/ann/pics is "ann"); the root is "/".
std::string folderName(std::string_view folder);

} // namespace tabulon
