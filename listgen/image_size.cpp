#include "listgen/image_size.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <utility>

namespace tabulon {

namespace {

using namespace std::string_view_literals;

std::uint32_t be16(std::string_view d, std::size_t at) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(d[at])) << 8) |
           static_cast<unsigned char>(d[at + 1]);
}
std::uint32_t be32(std::string_view d, std::size_t at) {
    return (be16(d, at) << 16) | be16(d, at + 2);
}
std::uint32_t le16(std::string_view d, std::size_t at) {
    return static_cast<unsigned char>(d[at]) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d[at + 1])) << 8);
}
std::uint32_t le24(std::string_view d, std::size_t at) {
    return le16(d, at) | (static_cast<std::uint32_t>(static_cast<unsigned char>(d[at + 2])) << 16);
}
std::uint32_t le32(std::string_view d, std::size_t at) {
    return le16(d, at) | (le16(d, at + 2) << 16);
}

std::optional<ImageSize> sized(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0)
        return std::nullopt;
    return ImageSize{width, height};
}

// The orientation tag of the first image directory of EXIF data (a TIFF
// structure in either byte order): 1 to 8, or 0 when there is none that
// reads as a browser reads it (one SHORT).
int exifOrientation(std::string_view tiff) {
    if (tiff.starts_with("Exif\0\0"sv)) // JPEG's own prefix, kept by some writers
        tiff.remove_prefix(6);
    bool little = false;
    if (tiff.starts_with("II*\0"sv))
        little = true;
    else if (!tiff.starts_with("MM\0*"sv))
        return 0;
    const auto u16 = [&](std::uint64_t at) { return little ? le16(tiff, at) : be16(tiff, at); };
    const auto u32 = [&](std::uint64_t at) { return little ? le32(tiff, at) : be32(tiff, at); };
    if (tiff.size() < 8)
        return 0;
    const std::uint64_t ifd = u32(4);
    if (ifd + 2 > tiff.size())
        return 0;
    const std::uint32_t entries = u16(ifd);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = ifd + 2 + 12 * std::uint64_t{i};
        if (entry + 12 > tiff.size())
            return 0;
        if (u16(entry) != 0x0112)
            continue;
        const std::uint32_t value = u16(entry + 8);
        return u16(entry + 2) == 3 && u32(entry + 4) == 1 && value >= 1 && value <= 8
                   ? static_cast<int>(value)
                   : 0;
    }
    return 0;
}

// The size as displayed: orientations 5 to 8 turn the picture a quarter.
std::optional<ImageSize> turned(std::optional<ImageSize> size, int orientation) {
    if (size && orientation >= 5)
        std::swap(size->width, size->height);
    return size;
}

std::optional<ImageSize> png(std::string_view d) {
    if (d.size() < 24 || d.substr(12, 4) != "IHDR")
        return std::nullopt;
    // Only an eXIf chunk before the image data counts.
    int orientation = 0;
    for (std::uint64_t at = 20 + std::uint64_t{be32(d, 8)}; at + 8 <= d.size();
         at += 12 + std::uint64_t{be32(d, at)}) {
        const std::string_view type = d.substr(at + 4, 4);
        if (type == "IDAT")
            break;
        if (type == "eXIf") {
            orientation = exifOrientation(d.substr(at + 8, be32(d, at)));
            break;
        }
    }
    return turned(sized(be32(d, 16), be32(d, 20)), orientation);
}

std::optional<ImageSize> gif(std::string_view d) {
    if (d.size() < 10)
        return std::nullopt;
    return sized(le16(d, 6), le16(d, 8));
}

std::optional<ImageSize> bmp(std::string_view d) {
    // Text that happens to start with "BM" has no zero reserved bytes and no
    // header size of a real bitmap.
    if (d.size() < 26 || le32(d, 6) != 0)
        return std::nullopt;
    const std::uint32_t header = le32(d, 14);
    if (header == 12) // the old OS/2 header: 16-bit sizes
        return sized(le16(d, 18), le16(d, 20));
    constexpr std::uint32_t kHeaders[] = {16, 40, 52, 56, 64, 108, 124};
    if (std::find(std::begin(kHeaders), std::end(kHeaders), header) == std::end(kHeaders))
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(le32(d, 18));
    const auto height = static_cast<std::int32_t>(le32(d, 22)); // negative: stored top-down
    if (width <= 0 || height == INT32_MIN)
        return std::nullopt;
    return sized(static_cast<std::uint32_t>(width),
                 static_cast<std::uint32_t>(height < 0 ? -height : height));
}

std::optional<ImageSize> jpeg(std::string_view d) {
    int orientation = 0;
    bool exif = false; // only the first Exif segment counts
    std::size_t at = 2;
    while (at + 4 <= d.size()) {
        if (static_cast<unsigned char>(d[at]) != 0xFF)
            return std::nullopt;
        const auto marker = static_cast<unsigned char>(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of image, start of scan: no frame header came
            return std::nullopt;
        const std::uint32_t length = be16(d, at + 2);
        if (length < 2)
            return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > d.size())
                return std::nullopt;
            return turned(sized(be16(d, at + 7), be16(d, at + 5)), orientation);
        }
        if (marker == 0xE1 && !exif) {
            const std::string_view body = d.substr(at + 4, length - 2);
            if (body.starts_with("Exif\0\0"sv)) {
                exif = true;
                orientation = exifOrientation(body.substr(6));
            }
        }
        at += 2 + length;
    }
    return std::nullopt;
}

// An extended WebP keeps its EXIF chunk behind the image data, mostly past
// the head: the walk over the chunks fetches what the head does not hold.
int webPOrientation(std::string_view head, const ImageBytesAt& more) {
    constexpr std::size_t kExifRead = 64 * 1024; // the first directory lies near the start
    const std::uint64_t end = 8 + std::uint64_t{le32(head, 4)};
    std::string fetched;
    std::uint64_t fetchedAt = 0;
    const auto bytes = [&](std::uint64_t at, std::size_t size) -> std::string_view {
        if (at + size <= head.size())
            return head.substr(at, size);
        if (at < fetchedAt || at + size > fetchedAt + fetched.size()) {
            if (!more)
                return {};
            fetched = more(at, size + kExifRead);
            fetchedAt = at;
        }
        return std::string_view(fetched).substr(std::min<std::uint64_t>(at - fetchedAt, fetched.size()),
                                                size);
    };
    std::uint64_t at = 12;
    for (int chunks = 0; chunks < 64 && at + 8 <= end; ++chunks) { // a long animation is not walked
        const std::string_view header = bytes(at, 8);
        if (header.size() < 8)
            return 0;
        const std::uint64_t size = le32(header, 4);
        if (header.starts_with("EXIF"))
            return exifOrientation(
                bytes(at + 8, static_cast<std::size_t>(std::min<std::uint64_t>(size, kExifRead))));
        at += 8 + size + (size & 1);
    }
    return 0;
}

std::optional<ImageSize> webP(std::string_view d, const ImageBytesAt& more) {
    if (d.size() < 16)
        return std::nullopt;
    const std::string_view chunk = d.substr(12, 4);
    if (chunk == "VP8 " && d.size() >= 30) {
        if (static_cast<unsigned char>(d[23]) != 0x9D || static_cast<unsigned char>(d[24]) != 0x01 ||
            static_cast<unsigned char>(d[25]) != 0x2A)
            return std::nullopt;
        return sized(le16(d, 26) & 0x3FFF, le16(d, 28) & 0x3FFF);
    }
    if (chunk == "VP8L" && d.size() >= 25) {
        if (static_cast<unsigned char>(d[20]) != 0x2F)
            return std::nullopt;
        const std::uint32_t bits = le32(d, 21);
        return sized((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (chunk == "VP8X" && d.size() >= 30) {
        const auto size = sized(le24(d, 24) + 1, le24(d, 27) + 1);
        const bool exif = (static_cast<unsigned char>(d[20]) & 0x08) != 0;
        return exif ? turned(size, webPOrientation(d, more)) : size;
    }
    return std::nullopt;
}

// A decimal number at the start of `v`, which it then leaves behind.
std::optional<double> number(std::string_view& v) {
    std::size_t i = 0;
    double value = 0;
    for (; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])); ++i)
        value = value * 10 + (v[i] - '0');
    std::size_t digits = i;
    if (i < v.size() && v[i] == '.') {
        double scale = 0.1;
        for (++i; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])); ++i, scale /= 10) {
            value += (v[i] - '0') * scale;
            ++digits;
        }
    }
    if (digits == 0 || value > 0xFFFFFFFFu)
        return std::nullopt;
    v.remove_prefix(i);
    return value;
}

// A length in pixels, as a browser converts it on its own: plain numbers, px
// and the absolute units. Percentages and font-relative units have no size
// of their own outside a page.
std::optional<double> svgLength(std::string_view v) {
    static constexpr std::pair<std::string_view, double> kUnits[] = {
        {"", 1}, {"px", 1}, {"in", 96}, {"cm", 96 / 2.54}, {"mm", 96 / 25.4}, {"pt", 96.0 / 72}, {"pc", 16}};
    const std::optional<double> value = number(v);
    if (!value)
        return std::nullopt;
    for (const auto& [unit, pixels] : kUnits) {
        if (v == unit)
            return *value * pixels;
    }
    return std::nullopt;
}

// The width to height ratio of a viewBox "min-x min-y width height".
std::optional<double> viewBoxRatio(std::string_view v) {
    double parts[4] = {};
    for (double& part : parts) {
        while (!v.empty() && (std::isspace(static_cast<unsigned char>(v.front())) || v.front() == ','))
            v.remove_prefix(1);
        const bool negative = v.starts_with('-');
        if (negative)
            v.remove_prefix(1);
        const std::optional<double> value = number(v);
        if (!value)
            return std::nullopt;
        part = negative ? -*value : *value;
    }
    if (parts[2] <= 0 || parts[3] <= 0)
        return std::nullopt;
    return parts[2] / parts[3];
}

std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const bool starts = at > 0 && std::isspace(static_cast<unsigned char>(tag[at - 1]));
        std::size_t i = at + name.size();
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
            ++i;
        if (!starts || i >= tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
            ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\''))
            return std::nullopt;
        const std::size_t end = tag.find(tag[i], i + 1);
        if (end == std::string_view::npos)
            return std::nullopt;
        return tag.substr(i + 1, end - i - 1);
    }
    return std::nullopt;
}

// An SVG file's first element is <svg>: only a byte-order mark, blanks, the
// XML declaration, comments and a doctype may come before it. A page that
// merely holds an inline icon is no SVG file.
bool startsWithSvg(std::string_view d) {
    if (d.starts_with("\xEF\xBB\xBF"))
        d.remove_prefix(3);
    for (;;) {
        while (!d.empty() && std::isspace(static_cast<unsigned char>(d.front())))
            d.remove_prefix(1);
        std::string_view end;
        if (d.starts_with("<?"))
            end = "?>";
        else if (d.starts_with("<!--"))
            end = "-->";
        else if (d.starts_with("<!"))
            end = ">";
        else
            return d.starts_with("<svg") && d.size() > 4 && std::isspace(static_cast<unsigned char>(d[4]));
        const std::size_t close = d.find(end);
        if (close == std::string_view::npos)
            return false;
        d.remove_prefix(close + end.size());
    }
}

// The size an <img> shows the picture at without a size of its own: what
// the picture states, the rest from its viewBox's ratio, and otherwise the
// browsers' default of 300 by 150 (a ratio alone fits inside that).
std::optional<ImageSize> svg(std::string_view d) {
    const std::size_t open = d.find("<svg");
    if (open == std::string_view::npos || open + 4 >= d.size() ||
        !std::isspace(static_cast<unsigned char>(d[open + 4])))
        return std::nullopt;
    const std::size_t close = d.find('>', open);
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::string_view tag = d.substr(open, close - open);
    const auto length = [&tag](std::string_view name) -> std::optional<double> {
        const auto value = attribute(tag, name);
        return value ? svgLength(*value) : std::nullopt;
    };
    std::optional<double> width = length("width");
    std::optional<double> height = length("height");
    const auto box = attribute(tag, "viewBox");
    const std::optional<double> ratio = box ? viewBoxRatio(*box) : std::nullopt;
    constexpr double kDefaultWidth = 300, kDefaultHeight = 150;
    if (ratio && !width && !height) {
        if (*ratio > kDefaultWidth / kDefaultHeight)
            width = kDefaultWidth;
        else
            height = kDefaultHeight;
    }
    if (ratio && width && !height)
        height = *width / *ratio;
    if (ratio && height && !width)
        width = *height * *ratio;
    const auto pixels = [](double length) {
        return length > 0 && length < 1 ? 1u : static_cast<std::uint32_t>(std::min(length, 4294967295.0));
    };
    return sized(pixels(width.value_or(kDefaultWidth)), pixels(height.value_or(kDefaultHeight)));
}

} // namespace

std::optional<ImageSize> readImageSize(std::string_view head, const ImageBytesAt& more) {
    if (head.starts_with("\x89PNG\r\n\x1A\n"))
        return png(head);
    if (head.starts_with("GIF87a") || head.starts_with("GIF89a"))
        return gif(head);
    if (head.starts_with("BM"))
        return bmp(head);
    if (head.starts_with("\xFF\xD8"))
        return jpeg(head);
    if (head.starts_with("RIFF") && head.size() >= 12 && head.substr(8, 4) == "WEBP")
        return webP(head, more);
    if (startsWithSvg(head))
        return svg(head.substr(0, 64 * 1024));
    return std::nullopt;
}

} // namespace tabulon
