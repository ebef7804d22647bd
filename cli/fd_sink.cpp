#include "cli/fd_sink.h"

#include <cerrno>

#include <unistd.h>

namespace tabulon::cli {

void StdoutSink::consume(std::string_view piece) {
    while (!piece.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, piece.data(), piece.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw WriteFailure(IoError{"standard output", {errno, std::generic_category()}});
        }
        piece.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicFileSink::consume(std::string_view piece) {
    if (IoResult written = writer_.write(piece); !written.ok())
        throw WriteFailure(written.error());
}

} // namespace tabulon::cli
