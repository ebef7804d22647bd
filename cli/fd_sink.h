#pragma once

#include <stdexcept>
#include <string>

#include "listgen/sink.h"
#include "persist/atomic_file.h"

namespace tabulon::cli {

// Thrown by the sinks below to stop a list whose output cannot be written.
struct WriteFailure : std::runtime_error {
    explicit WriteFailure(const IoError& error) : std::runtime_error(error.message()) {}
};

// Standard output, written in large blocks.
class StdoutSink final : public Sink {
protected:
    void consume(std::string_view piece) override;
};

// A file that replaces its target only when the whole list is written.
class AtomicFileSink final : public Sink {
public:
    explicit AtomicFileSink(AtomicFileWriter& writer) : writer_(writer) {}

protected:
    void consume(std::string_view piece) override;

private:
    AtomicFileWriter& writer_;
};

} // namespace tabulon::cli
