#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "posix/io_result.h"
#include "posix/unique_fd.h"

namespace tabulon::cli {

// A list of file names, streamed in large blocks so that memory stays flat
// whatever the length of the list.
class NameList {
public:
    // "-" is standard input. Opens at once, so that a missing list is
    // reported before anything is written.
    explicit NameList(std::string path);
    NameList(NameList&& other) noexcept = default;
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;
    NameList& operator=(NameList&&) = delete;

    IoResult openError() const { return openError_; }

    // Calls onName for each name: one a line (blank lines skipped, a CR before
    // the line end dropped), or, with nulSeparated, between NUL characters.
    // A name longer than any path stops the list with an error naming its
    // line (or entry).
    IoResult forEach(bool nulSeparated, const std::function<void(std::string_view)>& onName);

private:
    int fd() const; // the list's own file, or standard input for "-"

    std::string path_;
    UniqueFd file_; // none for standard input, which stays open
    IoResult openError_;
};

} // namespace tabulon::cli
