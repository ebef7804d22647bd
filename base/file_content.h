#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "posix/io_result.h"

// Reading files, whole or in part: included text, image heads, INI files.
namespace tabulon {

// Reads whole regular files into one buffer that is reused from file to file.
// Folders, FIFOs and devices are refused without being opened for reading, so
// a read never blocks.
class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Replaces the buffer with the file's bytes. On failure the buffer is empty
    // and the error names the file.
    IoResult read(std::string_view path) { return readHead(path, SIZE_MAX); }
    // The same for at most the first `limit` bytes.
    IoResult readHead(std::string_view path, std::size_t limit) { return readAt(path, 0, limit); }
    // The same for at most `limit` bytes from `offset` on.
    IoResult readAt(std::string_view path, std::uint64_t offset, std::size_t limit);
    std::string_view data() const { return {buf_.get(), size_}; }

private:
    void reserve(std::size_t capacity);

    std::unique_ptr<char[]> buf_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// The error a non-regular file gives.
const std::error_category& fileReaderCategory();
enum class FileReaderError { NotRegularFile = 1, NameHasNul };

// Appends the lines of `raw`, each preceded by CR LF. Lines end at CR LF or a
// lone CR; a lone LF is an ordinary character; a terminator at the very end
// starts no further line. `Out` needs append(const char*, std::size_t).
template <class Out> void appendLines(std::string_view raw, Out& out) {
    if (raw.empty())
        return;
    out.append("\r\n", 2);
    const char* p = raw.data();
    const char* const end = p + raw.size();
    while (p < end) {
        const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (cr == nullptr) {
            out.append(p, static_cast<std::size_t>(end - p));
            return;
        }
        out.append(p, static_cast<std::size_t>(cr - p));
        p = cr + ((cr + 1 < end && cr[1] == '\n') ? 2 : 1);
        if (p < end)
            out.append("\r\n", 2);
    }
}

} // namespace tabulon
