#include "listgen/sink.h"

namespace tabulon {

Sink::Sink(std::size_t blockSize)
    : block_(std::make_unique_for_overwrite<char[]>(blockSize)), capacity_(blockSize) {}

void Sink::flush() {
    if (used_ == 0)
        return;
    const std::size_t n = used_;
    used_ = 0;
    consume({block_.get(), n});
}

void Sink::appendLarge(std::string_view s) {
    flush();
    // Large pieces (included files) go straight through instead of being copied.
    if (s.size() >= capacity_ / 2) {
        consume(s);
        return;
    }
    std::memcpy(block_.get(), s.data(), s.size());
    used_ = s.size();
}

} // namespace tabulon
