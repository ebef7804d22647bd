#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tabulon::test {

// Damages pictures the way disks, transfers and hostile files do: flipped
// bytes, bytes put in or taken out, a cut-off end, and size fields near the
// start (box, chunk and segment lengths) pushed off by a little or a lot.
// The same seed gives the same damage on every system.
class PictureMutator {
public:
    explicit PictureMutator(std::uint32_t seed) : random_(seed) {}

    // A damaged copy of `bytes`: one change, sometimes two or three.
    std::string mutate(std::string bytes) {
        int changes = 1 + (below(4) == 0 ? 1 : 0) + (below(8) == 0 ? 1 : 0);
        while (changes-- > 0) {
            const std::size_t kind = below(20);
            if (kind < 7) {
                flipBytes(bytes);
            } else if (kind < 13) {
                bumpSizeField(bytes);
            } else if (kind < 15) {
                const std::size_t at = below(bytes.size() + 1);
                const std::size_t n = 1 + below(32);
                const bool repeated = below(2) == 0;
                const auto fill = static_cast<char>(below(256));
                std::string added;
                for (std::size_t k = 0; k < n; ++k)
                    added.push_back(repeated ? fill : static_cast<char>(below(256)));
                bytes.insert(at, added);
            } else if (kind < 17) {
                if (!bytes.empty()) {
                    const std::size_t at = below(bytes.size());
                    bytes.erase(at, 1 + below(32));
                }
            } else {
                bytes.resize(below(bytes.size()));
            }
        }
        return bytes;
    }

private:
    struct Field {
        std::size_t at;
        int width; // bytes
        bool bigEndian;
    };

    // The standard distributions differ between libraries; a plain modulo of
    // mt19937's fixed sequence does not.
    std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    void flipBytes(std::string& bytes) {
        static constexpr std::array<unsigned char, 5> kEdges = {0x00, 0xFF, 0x7F, 0x80, 0x01};
        for (std::size_t n = 1 + below(8); n > 0 && !bytes.empty(); --n) {
            char& b = bytes[below(bytes.size())];
            if (below(2) == 0)
                b = static_cast<char>(b ^ (1 << below(8)));
            else
                b = static_cast<char>(kEdges[below(kEdges.size())]);
        }
    }

    // Length fields found by their neighbours in the first 4 KB, where headers,
    // boxes and chunks say how long they are: the four bytes before a
    // four-letter type (ISO media boxes, PNG chunks), the four after one (RIFF
    // chunks of WebP), the two after a JPEG marker. Compressed data that happens
    // to look like a type only adds a few more places to damage.
    static std::vector<Field> sizeFields(const std::string& bytes) {
        std::vector<Field> fields;
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        const auto isTag = [&](std::size_t i) {
            const unsigned char c = byte(i);
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
        };
        for (std::size_t i = 0; i + 4 <= std::min<std::size_t>(bytes.size(), 4096); ++i) {
            if (byte(i) == 0xFF && byte(i + 1) >= 0xC0 && byte(i + 1) != 0xFF &&
                !(byte(i + 1) >= 0xD0 && byte(i + 1) <= 0xD9))
                fields.push_back({i + 2, 2, true});
            if (!(isTag(i) && isTag(i + 1) && isTag(i + 2) && isTag(i + 3)))
                continue;
            if (i >= 4)
                fields.push_back({i - 4, 4, true});
            if (i + 8 <= bytes.size())
                fields.push_back({i + 4, 4, false});
        }
        return fields;
    }

    void bumpSizeField(std::string& bytes) {
        const std::vector<Field> fields = sizeFields(bytes);
        Field f{};
        if (!fields.empty() && below(2) == 0) {
            f = fields[below(fields.size())];
        } else {
            // A header of fixed fields (BMP, ICO, GIF, TIFF): any of its first words.
            const std::size_t reach = std::min<std::size_t>(bytes.size(), 64);
            if (reach < 4)
                return flipBytes(bytes);
            f = {below(reach - 3), below(2) == 0 ? 2 : 4, below(2) == 0};
        }
        // Byte k of the field, most significant first.
        const auto at = [&](int k) { return f.at + (f.bigEndian ? k : f.width - 1 - k); };
        std::uint32_t old = 0;
        for (int k = 0; k < f.width; ++k)
            old = old << 8 | static_cast<unsigned char>(bytes[at(k)]);
        const std::uint32_t top = f.width == 2 ? 0xFFFF : 0xFFFFFFFF;
        const auto delta = static_cast<std::uint32_t>(1 + below(255));
        const std::array<std::uint32_t, 10> choices = {
            old + 1, old - 1, old + delta, old - delta, old * 2, 0, 1, 8, top, top >> 1,
        };
        const std::uint32_t value = choices[below(choices.size())] & top;
        for (int k = 0; k < f.width; ++k)
            bytes[at(k)] = static_cast<char>(value >> (8 * (f.width - 1 - k)) & 0xFF);
    }

    std::mt19937 random_;
};

} // namespace tabulon::test
