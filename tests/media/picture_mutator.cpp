#include "picture_mutator.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tabulon::test {
namespace {

// Where headers, boxes and chunks say how long they are.
constexpr std::size_t kHeaderReach = 4096;

struct Field {
    std::size_t at;
    int width; // bytes
    bool bigEndian;
};

bool isTagByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
}

// Length fields found by their neighbours: the four bytes before a
// four-letter type (ISO media boxes, PNG chunks), the four after one (RIFF
// chunks of WebP), the two after a JPEG marker. Compressed data that happens
// to look like a type only adds a few more places to damage.
std::vector<Field> sizeFields(const std::string& bytes) {
    std::vector<Field> fields;
    const std::size_t end = std::min(bytes.size(), kHeaderReach);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i + 4 <= end; ++i) {
        if (byte(i) == 0xFF && byte(i + 1) >= 0xC0 && byte(i + 1) != 0xFF &&
            !(byte(i + 1) >= 0xD0 && byte(i + 1) <= 0xD9))
            fields.push_back({i + 2, 2, true});
        if (!(isTagByte(byte(i)) && isTagByte(byte(i + 1)) && isTagByte(byte(i + 2)) &&
              isTagByte(byte(i + 3))))
            continue;
        if (i >= 4)
            fields.push_back({i - 4, 4, true});
        if (i + 8 <= bytes.size())
            fields.push_back({i + 4, 4, false});
    }
    return fields;
}

std::uint32_t readField(const std::string& bytes, const Field& f) {
    std::uint32_t value = 0;
    for (int k = 0; k < f.width; ++k) {
        const auto b = static_cast<unsigned char>(bytes[f.at + (f.bigEndian ? k : f.width - 1 - k)]);
        value = value << 8 | b;
    }
    return value;
}

void writeField(std::string& bytes, const Field& f, std::uint32_t value) {
    for (int k = 0; k < f.width; ++k) {
        const int shift = 8 * (f.bigEndian ? f.width - 1 - k : k);
        bytes[f.at + k] = static_cast<char>(value >> shift & 0xFF);
    }
}

} // namespace

std::string PictureMutator::mutate(std::string bytes) {
    int changes = 1 + (below(4) == 0 ? 1 : 0) + (below(8) == 0 ? 1 : 0);
    while (changes-- > 0) {
        const std::size_t kind = below(20);
        if (kind < 7)
            flipBytes(bytes);
        else if (kind < 13)
            bumpSizeField(bytes);
        else if (kind < 15)
            insertBytes(bytes);
        else if (kind < 17)
            removeBytes(bytes);
        else
            truncate(bytes);
    }
    return bytes;
}

void PictureMutator::flipBytes(std::string& bytes) {
    static constexpr std::array<unsigned char, 5> kEdges = {0x00, 0xFF, 0x7F, 0x80, 0x01};
    for (std::size_t n = 1 + below(8); n > 0 && !bytes.empty(); --n) {
        char& b = bytes[below(bytes.size())];
        if (below(2) == 0)
            b = static_cast<char>(b ^ (1 << below(8)));
        else
            b = static_cast<char>(kEdges[below(kEdges.size())]);
    }
}

void PictureMutator::insertBytes(std::string& bytes) {
    const std::size_t at = below(bytes.size() + 1);
    const std::size_t n = 1 + below(32);
    std::string added;
    const bool repeated = below(2) == 0;
    const auto fill = static_cast<char>(below(256));
    for (std::size_t k = 0; k < n; ++k)
        added.push_back(repeated ? fill : static_cast<char>(below(256)));
    bytes.insert(at, added);
}

void PictureMutator::removeBytes(std::string& bytes) {
    if (bytes.empty())
        return;
    const std::size_t at = below(bytes.size());
    bytes.erase(at, 1 + below(32));
}

void PictureMutator::truncate(std::string& bytes) {
    bytes.resize(below(bytes.size()));
}

void PictureMutator::bumpSizeField(std::string& bytes) {
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
    const std::uint32_t old = readField(bytes, f);
    const std::uint32_t top = f.width == 2 ? 0xFFFF : 0xFFFFFFFF;
    const auto delta = static_cast<std::uint32_t>(1 + below(255));
    const std::array<std::uint32_t, 10> choices = {
        old + 1, old - 1, old + delta, old - delta, old * 2, 0, 1, 8, top, top >> 1,
    };
    writeField(bytes, f, choices[below(choices.size())] & top);
}

} // namespace tabulon::test
