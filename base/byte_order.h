#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Numbers stored in picture headers, read from `d` at `at`; the caller has
// checked that the bytes are there. Header only: the bitmap decoder, built
// into the media module, uses them too.
namespace tabulon {

inline std::uint32_t byteAt(std::string_view d, std::size_t at) {
    return static_cast<unsigned char>(d[at]);
}
inline std::uint32_t be16(std::string_view d, std::size_t at) {
    return (byteAt(d, at) << 8) | byteAt(d, at + 1);
}
inline std::uint32_t be32(std::string_view d, std::size_t at) {
    return (be16(d, at) << 16) | be16(d, at + 2);
}
inline std::uint32_t le16(std::string_view d, std::size_t at) {
    return byteAt(d, at) | (byteAt(d, at + 1) << 8);
}
inline std::uint32_t le24(std::string_view d, std::size_t at) {
    return le16(d, at) | (byteAt(d, at + 2) << 16);
}
inline std::uint32_t le32(std::string_view d, std::size_t at) {
    return le16(d, at) | (le16(d, at + 2) << 16);
}

} // namespace tabulon
