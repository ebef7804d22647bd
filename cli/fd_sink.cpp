#include "cli/fd_sink.h"

#include "posix/write_all.h"

#include <cerrno>

#include <unistd.h>

namespace tabulon::cli {

void StdoutSink::consume(std::string_view piece) {
    if (const int error = writeAll(STDOUT_FILENO, piece); error != 0)
        throw WriteFailure(IoError{"standard output", {error, std::generic_category()}});
}

void AtomicFileSink::consume(std::string_view piece) {
    if (IoResult written = writer_.write(piece); !written.ok())
        throw WriteFailure(written.error());
}

} // namespace tabulon::cli
