#pragma once

#include <string>
#include <string_view>

#include "persist/io_error.h"

namespace tabulon {

// Writes a file through a temporary file beside it that replaces the target
// only on commit(), so readers see the old file or the new one, never a part.
// Without commit() the temporary file is removed and the target is untouched.
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
    void discard();
    IoError failure(int err) const { return {path_, {err, std::generic_category()}}; }

    std::string path_;   // as given, for messages
    std::string target_; // where the file really goes (a link's target)
    std::string temp_;
    int fd_ = -1;
};

// Replaces the file at `path` with `bytes` in one step.
IoResult WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tabulon
