#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "persist/io_error.h"

namespace tabulon::cli {

// A list of file names, streamed in large blocks so that memory stays flat
// whatever the length of the list.
class NameList {
public:
    // "-" is standard input. Opens at once, so that a missing list is
    // reported before anything is written.
    explicit NameList(std::string path);
    NameList(NameList&& other) noexcept;
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;
    NameList& operator=(NameList&&) = delete;
    ~NameList();

    IoResult openError() const { return openError_; }

    // Calls onName for each name: one a line (blank lines skipped, a CR before
    // the line end dropped), or, with nulSeparated, between NUL characters.
    // A name longer than any path stops the list with an error naming its
    // line (or entry).
    IoResult ForEach(bool nulSeparated, const std::function<void(std::string_view)>& onName);

private:
    std::string path_;
    int fd_ = -1;
    bool ownsFd_ = false;
    IoResult openError_;
};

} // namespace tabulon::cli
