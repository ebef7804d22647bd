#pragma once

#include <cstdint>
#include <string>

// Small pictures that decoders accept: a 3×2 PNG, a 1×1 JPEG and GIF, a sized
// SVG and one that has a viewBox only.
namespace tabulon::test {

using namespace std::string_literals;

inline const std::string kPng =
    "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x03\0\0\0\x02\x08\x03\0\0\0\xAA\xAA\x96\x28\0\0\0\x03PLTE\xFF\0\0"
    "\x19\xE2\x09\x37"
    "\0\0\0\x0BIDAT\x08\xD7\x63\x60\x80\0\0\0\x08\0\x01\x2F\x20\xDD\x31\0\0\0\0IEND\xAE\x42\x60\x82"s;
inline const std::string kJpeg = "\xFF\xD8\xFF\xDB\0\x43\0"s + std::string(64, '\x01') +
                                 "\xFF\xC0\0\x0B\x08\0\x01\0\x01\x01\x01\x11\0"
                                 "\xFF\xC4\0\x14\0\x01"s +
                                 std::string(16, '\0') + "\xFF\xC4\0\x14\x10\x01"s + std::string(16, '\0') +
                                 "\xFF\xDA\0\x08\x01\x01\0\0\x3F\0\x3F\xFF\xD9"s;
inline const std::string kGif =
    "GIF89a\x01\0\x01\0\xF0\0\0\0\0\xFF\0\0\0!\xF9\x04\0\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;"s;
inline const std::string kSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4"><rect width="4" height="4"/></svg>)";
inline const std::string kIconSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><circle cx="12" cy="12" r="9"/></svg>)";

// `v` as `count` bytes, least significant first (BMP, icons) or last (PNG, ISO boxes).
inline std::string le(std::uint64_t v, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>(v >> (8 * i)));
    return bytes;
}
inline std::string be(std::uint64_t v, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes.push_back(static_cast<char>(v >> (8 * i)));
    return bytes;
}

} // namespace tabulon::test
