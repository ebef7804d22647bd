#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

// Where the engine writes a result. Appends are gathered in a block and handed
// on in large pieces, so writing many small parts stays cheap.
namespace tabulon {

class Sink {
public:
    explicit Sink(std::size_t blockSize = std::size_t{1} << 17);
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;
    virtual ~Sink() = default;

    void append(std::string_view s) {
        if (s.size() <= capacity_ - used_) {
            if (s.empty()) // an empty view may have no data pointer at all
                return;
            std::memcpy(block_.get() + used_, s.data(), s.size());
            used_ += s.size();
        } else {
            appendLarge(s);
        }
    }
    void append(const char* p, std::size_t n) { append(std::string_view(p, n)); }

    // Hands everything appended so far to consume().
    void flush();

protected:
    // Receives the result in order, piece by piece. May throw to stop the list.
    virtual void consume(std::string_view piece) = 0;

private:
    void appendLarge(std::string_view s);

    std::unique_ptr<char[]> block_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

// Collects the whole result in one string.
class StringSink final : public Sink {
public:
    StringSink() : Sink(std::size_t{1} << 14) {}
    std::string take() {
        flush();
        return std::move(text_);
    }

protected:
    void consume(std::string_view piece) override { text_.append(piece); }

private:
    std::string text_;
};

} // namespace tabulon
