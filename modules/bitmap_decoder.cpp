#include "modules/bitmap_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

#include "base/byte_order.h"

namespace tabulon {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// One colour channel held in a pixel by a mask, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), top_(mask == 0 ? 0 : mask >> shift_) {}
    bool present() const { return mask_ != 0; }
    std::uint8_t operator()(std::uint32_t pixel) const {
        return top_ == 0 ? 0
                         : static_cast<std::uint8_t>(std::uint64_t{(pixel & mask_) >> shift_} * 255 / top_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint32_t top_;
};

// What a bitmap's header says, wherever the bitmap lies (a BMP file, an
// icon's entry).
struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0; // of the image alone: an icon's counts its mask too
    bool topDown = false;
    std::uint32_t bits = 0;
    std::uint32_t compression = kRgb;
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    std::vector<std::array<std::uint8_t, 3>> palette;
    std::uint64_t afterPalette = 0; // where the pixels of an icon's bitmap start
};

std::string readHeader(std::string_view d, bool icon, std::uint64_t maxPixels, Header& h) {
    if (d.size() < 4)
        return "its header is cut short";
    const std::uint32_t size = le32(d, 0);
    const bool core = size == 12;
    static constexpr std::uint32_t kSizes[] = {12, 16, 40, 52, 56, 64, 108, 124};
    if (std::find(std::begin(kSizes), std::end(kSizes), size) == std::end(kSizes))
        return "its header is of an unknown kind";
    if (d.size() < size)
        return "its header is cut short";
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (core) {
        width = le16(d, 4);
        height = le16(d, 6);
        h.bits = le16(d, 10);
    } else {
        width = static_cast<std::int32_t>(le32(d, 4));
        height = static_cast<std::int32_t>(le32(d, 8));
        h.bits = le16(d, 14);
        h.compression = size >= 20 ? le32(d, 16) : kRgb;
    }
    h.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (icon)
        height /= 2;
    if (width <= 0 || height <= 0)
        return "it has no pixels";
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels)
        return "has " + std::to_string(width) + "x" + std::to_string(height) + " pixels, more than " +
               std::to_string(maxPixels / 1000000) + " million";
    h.width = static_cast<std::uint32_t>(width);
    h.height = static_cast<std::uint32_t>(height);

    static constexpr std::uint32_t kBits[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(kBits), std::end(kBits), h.bits) == std::end(kBits))
        return "its pixels have " + std::to_string(h.bits) + " bits, which no bitmap has";
    const bool rleFits = (h.compression == kRle8 && h.bits == 8) || (h.compression == kRle4 && h.bits == 4);
    const bool fieldsFit =
        (h.compression == kBitFields || h.compression == kAlphaBitFields) && (h.bits == 16 || h.bits == 32);
    if (h.compression != kRgb && !rleFits && !fieldsFit)
        return "its compression (" + std::to_string(h.compression) + ") is not one this decoder reads";

    std::uint64_t at = size;
    if (fieldsFit) {
        const std::uint32_t count = h.compression == kAlphaBitFields ? 4 : 3;
        // Masks follow a plain info header; larger headers hold them.
        const std::uint64_t masksAt = size >= 52 ? 40 : size;
        if (d.size() < masksAt + 4 * count)
            return "its colour masks are cut short";
        for (std::uint32_t i = 0; i < count; ++i)
            h.masks[i] = le32(d, masksAt + 4 * i);
        if (size >= 56)
            h.masks[3] = le32(d, 52);
        if (size < 52)
            at += 4 * count;
    } else if (h.bits == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (h.bits >= 24) {
        h.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    }
    if (h.bits <= 8) {
        const std::uint32_t full = 1u << h.bits;
        const std::uint32_t used = core || size < 36 ? 0 : le32(d, 32);
        std::uint32_t count = used == 0 || used > full ? full : used;
        const std::uint32_t entry = core ? 3 : 4;
        if (d.size() < at + std::uint64_t{count} * entry) {
            // A BMP's pixels may start before the palette its header
            // promises ends: the colours before them are all it has.
            if (icon || d.size() < at)
                return "its palette is cut short";
            count = static_cast<std::uint32_t>((d.size() - at) / entry);
        }
        h.palette.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t p = at + std::uint64_t{i} * entry;
            h.palette[i] = {static_cast<std::uint8_t>(d[p + 2]), static_cast<std::uint8_t>(d[p + 1]),
                            static_cast<std::uint8_t>(d[p])};
        }
        at += std::uint64_t{count} * entry;
    }
    h.afterPalette = at;
    return {};
}

std::uint64_t rowBytes(std::uint32_t width, std::uint32_t bits) {
    return (std::uint64_t{width} * bits + 31) / 32 * 4;
}

// The output row of stored row `y`.
std::uint64_t rowOf(const Header& h, std::uint32_t y) {
    return h.topDown ? y : h.height - 1 - y;
}

void putIndex(const Header& h, std::uint8_t* out, std::uint32_t index) {
    if (index < h.palette.size())
        std::copy(h.palette[index].begin(), h.palette[index].end(), out); // else black, as browsers show it
    out[3] = 255;
}

// Uncompressed rows.
std::string readRows(std::string_view pixels, const Header& h, std::vector<std::uint8_t>& out) {
    const std::uint64_t stride = rowBytes(h.width, h.bits);
    if (pixels.size() < stride * h.height)
        return "it is cut short";
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), opacity(h.masks[3]);
    for (std::uint32_t y = 0; y < h.height; ++y) {
        const std::string_view row = pixels.substr(y * stride, stride);
        std::uint8_t* o = out.data() + rowOf(h, y) * h.width * 4;
        for (std::uint32_t x = 0; x < h.width; ++x, o += 4) {
            if (h.bits <= 8) {
                const std::uint64_t bit = std::uint64_t{x} * h.bits;
                const auto byte = static_cast<unsigned char>(row[bit / 8]);
                putIndex(h, o, (byte >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1));
                continue;
            }
            const std::size_t at = x * std::size_t{h.bits / 8};
            std::uint32_t pixel = 0;
            for (std::uint32_t b = 0; b < h.bits / 8; ++b)
                pixel |= static_cast<std::uint32_t>(static_cast<unsigned char>(row[at + b])) << (8 * b);
            o[0] = red(pixel);
            o[1] = green(pixel);
            o[2] = blue(pixel);
            o[3] = opacity.present() ? opacity(pixel) : 255;
        }
    }
    return {};
}

// RLE8 and RLE4: runs, copied stretches, line ends and jumps. What the
// stream skips stays transparent, as browsers leave it.
std::string readRle(std::string_view data, const Header& h, std::vector<std::uint8_t>& out) {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    const bool four = h.compression == kRle4;
    const auto put = [&](std::uint32_t index) {
        if (x < h.width && y < h.height)
            putIndex(h, out.data() + (rowOf(h, y) * h.width + x) * 4, index);
        ++x;
    };
    std::size_t at = 0;
    while (at + 2 <= data.size()) {
        const auto count = static_cast<unsigned char>(data[at]);
        const auto value = static_cast<unsigned char>(data[at + 1]);
        at += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count && x < h.width; ++i)
                put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return {};
        } else if (value == 2) { // a jump
            if (at + 2 > data.size())
                break;
            x += static_cast<unsigned char>(data[at]);
            y += static_cast<unsigned char>(data[at + 1]);
            at += 2;
        } else { // `value` pixels as they are, padded to 16 bits
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > data.size())
                break;
            for (std::uint32_t i = 0; i < value; ++i) {
                const auto byte = static_cast<unsigned char>(data[at + (four ? i / 2 : i)]);
                put(four ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
            }
            at += bytes + bytes % 2;
        }
        if (y >= h.height)
            return {};
    }
    return "it is cut short";
}

// An icon's AND mask, one bit a pixel, set where the picture is transparent.
void applyMask(std::string_view mask, const Header& h, std::vector<std::uint8_t>& out) {
    const std::uint64_t stride = rowBytes(h.width, 1);
    if (mask.size() < stride * h.height)
        return; // left out by some writers: opaque then
    for (std::uint32_t y = 0; y < h.height; ++y) {
        std::uint8_t* o = out.data() + rowOf(h, y) * h.width * 4;
        for (std::uint32_t x = 0; x < h.width; ++x) {
            const auto byte = static_cast<unsigned char>(mask[y * stride + x / 8]);
            if ((byte >> (7 - x % 8)) & 1)
                o[4 * x + 3] = 0;
        }
    }
}

// The pixels after `h`: `pixels` holds them, and for an icon its mask behind them.
DecodedBitmap decodeDib(const Header& h, std::string_view pixels, bool icon) {
    DecodedBitmap made;
    made.width = h.width;
    made.height = h.height;
    const std::uint64_t samples = std::uint64_t{h.width} * h.height * 4;
    if (samples > std::numeric_limits<std::size_t>::max() / 2) {
        made.error = "it is too large";
        return made;
    }
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    // What an RLE stream skips is transparent; anything else is drawn whole.
    made.pixels.assign(static_cast<std::size_t>(samples), 0);
    made.error = rle ? readRle(pixels, h, made.pixels) : readRows(pixels, h, made.pixels);
    if (!made.error.empty()) {
        made.pixels.clear();
        return made;
    }
    if (icon && !rle) {
        // A 32-bit icon mostly carries its own transparency in its fourth
        // bytes; without any there, or in an older icon, the mask says.
        const std::uint64_t stride = rowBytes(h.width, h.bits);
        bool own = h.masks[3] != 0;
        if (h.bits == 32 && h.compression == kRgb) {
            for (std::uint32_t y = 0; y < h.height; ++y) {
                const std::string_view row = pixels.substr(y * stride, stride);
                std::uint8_t* o = made.pixels.data() + rowOf(h, y) * h.width * 4;
                for (std::uint32_t x = 0; x < h.width; ++x) {
                    o[4 * x + 3] = static_cast<std::uint8_t>(row[4 * std::size_t{x} + 3]);
                    own = own || o[4 * x + 3] != 0;
                }
            }
        }
        if (!own) {
            for (std::size_t i = 3; i < made.pixels.size(); i += 4)
                made.pixels[i] = 255;
            applyMask(pixels.substr(stride * h.height), h, made.pixels);
        }
    }
    bool opaque = true;
    for (std::size_t i = 3; i < made.pixels.size() && opaque; i += 4)
        opaque = made.pixels[i] == 255;
    if (opaque) { // three bands are enough
        std::size_t to = 0;
        for (std::size_t from = 0; from < made.pixels.size(); from += 4, to += 3)
            std::copy_n(made.pixels.begin() + static_cast<std::ptrdiff_t>(from), 3,
                        made.pixels.begin() + static_cast<std::ptrdiff_t>(to));
        made.pixels.resize(to);
        made.bands = 3;
    } else {
        made.bands = 4;
    }
    return made;
}

DecodedBitmap failed(std::string why) {
    DecodedBitmap made;
    made.error = std::move(why);
    return made;
}

DecodedBitmap decodeBmp(std::string_view file, std::uint64_t maxPixels) {
    if (file.size() < 18)
        return failed("its header is cut short");
    const std::uint32_t pixelsAt = le32(file, 10);
    if (pixelsAt > file.size())
        return failed("it is cut short");
    if (pixelsAt < 18)
        return failed("its pixels start inside its header");
    // The header and its palette end where the pixels start.
    Header h;
    if (std::string why = readHeader(file.substr(14, pixelsAt - 14), false, maxPixels, h); !why.empty())
        return failed(why);
    return decodeDib(h, file.substr(pixelsAt), false);
}

// The size an icon entry shows, for choosing the largest: its own header's
// where it reads, else the directory's (where 0 stands for 256).
std::uint64_t entryArea(std::string_view file, std::string_view entry) {
    const std::uint32_t offset = le32(entry, 12);
    const std::string_view data = offset < file.size() ? file.substr(offset, 24) : std::string_view();
    if (data.size() >= 24 && data.starts_with("\x89PNG\r\n\x1A\n"))
        return std::uint64_t{be32(data, 16)} * be32(data, 20);
    if (data.size() >= 12 && le32(data, 0) >= 40 && le32(data, 0) <= 124) {
        const auto width = static_cast<std::int32_t>(le32(data, 4));
        const auto height = static_cast<std::int32_t>(le32(data, 8));
        if (width > 0 && height > 0)
            return std::uint64_t(width) * static_cast<std::uint64_t>(height / 2);
    }
    const auto side = [&](std::size_t at) -> std::uint64_t {
        return entry[at] == 0 ? 256 : static_cast<unsigned char>(entry[at]);
    };
    return side(0) * side(1);
}

DecodedBitmap decodeIcon(std::string_view file, std::uint64_t maxPixels) {
    const std::uint32_t count = le16(file, 4);
    if (count == 0)
        return failed("it holds no image");
    if (file.size() < 6 + 16 * std::uint64_t{count})
        return failed("its directory is cut short");
    std::string_view chosen;
    std::uint64_t largest = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string_view entry = file.substr(6 + 16 * std::size_t{i}, 16);
        if (const std::uint64_t area = entryArea(file, entry); chosen.empty() || area > largest) {
            chosen = entry;
            largest = area;
        }
    }
    const std::uint64_t size = le32(chosen, 8);
    const std::uint64_t offset = le32(chosen, 12);
    if (offset < 6 + 16 * std::uint64_t{count} || size == 0)
        return failed("its directory points at itself");
    if (offset + size > file.size())
        return failed("it is cut short");
    const std::string_view data = file.substr(offset, size);
    if (data.starts_with("\x89PNG\r\n\x1A\n")) {
        DecodedBitmap made;
        made.png = data;
        return made;
    }
    Header h;
    if (std::string why = readHeader(data, true, maxPixels, h); !why.empty())
        return failed(why);
    return decodeDib(h, data.substr(h.afterPalette), true);
}

} // namespace

bool isBmp(std::string_view file) {
    return file.size() >= 18 && file.starts_with("BM");
}

bool isIcon(std::string_view file) {
    return file.size() >= 6 && file[0] == 0 && file[1] == 0 && (file[2] == 1 || file[2] == 2) && file[3] == 0;
}

DecodedBitmap decodeBitmap(std::string_view file, std::uint64_t maxPixels) {
    if (isBmp(file))
        return decodeBmp(file, maxPixels);
    if (isIcon(file))
        return decodeIcon(file, maxPixels);
    return failed("it is neither a BMP nor an icon");
}

} // namespace tabulon
