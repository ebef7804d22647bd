#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "posix/io_result.h"
#include "posix/unique_fd.h"

namespace tabulon {

// Writes a file through a temporary file beside it that replaces the target
// only on commit(), so readers see the old file or the new one, never a part.
// Without commit() the temporary file is removed and the target is untouched.
// Only a regular file is ever replaced: a device or FIFO is written into as a
// shell redirection does, a link is written through and kept, a socket is
// refused.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    IoResult open();
    IoResult write(std::string_view bytes);
    IoResult commit();

private:
    IoResult openInto(int flags);
    void discard();
    IoError failure(int err) const { return failure(std::error_code(err, std::generic_category())); }
    IoError failure(std::error_code code) const { return {path_, code}; }

    std::string path_; // as given, for messages
    UniqueFd dir_;     // the folder of the file that gets replaced
    std::string name_; // that file's name in dir_
    std::string temp_; // the temporary file's name in dir_; empty when writing into the target
    UniqueFd fd_;
};

// Replaces the file at `path` with `bytes` in one step.
IoResult writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tabulon
