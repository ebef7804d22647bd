#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tabulon::fuzz {

// Cuts the fuzzer's bytes into fields at 0xFF bytes, which no field needs.
class Fields {
public:
    Fields(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    std::string_view next() {
        const std::size_t cut = rest_.find('\xFF');
        const std::string_view field = rest_.substr(0, cut);
        rest_.remove_prefix(cut == std::string_view::npos ? rest_.size() : cut + 1);
        return field;
    }

private:
    std::string_view rest_;
};

} // namespace tabulon::fuzz
