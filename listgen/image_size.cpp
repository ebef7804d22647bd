#include "listgen/image_size.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_order.h"

namespace tabulon {

namespace {

using namespace std::string_view_literals;

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

// The file's bytes at any offset: from the head when it holds them, else
// fetched through `more` (one piece at a time, kept until the next fetch).
class FileBytes {
public:
    FileBytes(std::string_view head, const ImageBytesAt& more) : head_(head), more_(more) {}

    // `size` bytes at `at`, or fewer where the file ends.
    std::string_view at(std::uint64_t at, std::size_t size) {
        if (at + size <= head_.size() || (!more_ && at < head_.size()))
            return head_.substr(at, size);
        if (at < fetchedAt_ || at + size > fetchedAt_ + fetched_.size()) {
            if (!more_)
                return {};
            fetched_ = more_(at, std::max(size, kPiece));
            fetchedAt_ = at;
        }
        return std::string_view(fetched_).substr(std::min<std::uint64_t>(at - fetchedAt_, fetched_.size()),
                                                 size);
    }

private:
    static constexpr std::size_t kPiece = 4096;
    std::string_view head_;
    const ImageBytesAt& more_;
    std::string fetched_;
    std::uint64_t fetchedAt_ = 0;
};

// The size an icon entry's own image states: a PNG's, or a bitmap's whose
// height counts its mask too.
std::optional<ImageSize> iconEntrySize(std::string_view d) {
    if (d.starts_with("\x89PNG\r\n\x1A\n"))
        return d.size() >= 24 && d.substr(12, 4) == "IHDR" ? sized(be32(d, 16), be32(d, 20)) : std::nullopt;
    constexpr std::uint32_t kHeaders[] = {40, 52, 56, 108, 124};
    if (d.size() < 12 ||
        std::find(std::begin(kHeaders), std::end(kHeaders), le32(d, 0)) == std::end(kHeaders))
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(le32(d, 4));
    const auto height = static_cast<std::int32_t>(le32(d, 8));
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return sized(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height) / 2);
}

// ICO and CUR: a directory of images, of which a browser shows the largest.
// Its own header gives an entry's size where it reads cleanly (the
// directory's byte says 256 for anything larger), else the directory does.
std::optional<ImageSize> icon(std::string_view head, const ImageBytesAt& more) {
    if (head.size() < 6)
        return std::nullopt;
    const std::uint32_t count = le16(head, 4);
    FileBytes file(head, more);
    std::optional<ImageSize> largest;
    constexpr std::uint32_t kEntriesLooked = 64;
    for (std::uint32_t i = 0; i < std::min(count, kEntriesLooked); ++i) {
        // A copy: the next fetch may replace what the view shows.
        const std::string entry(file.at(6 + 16 * std::uint64_t{i}, 16));
        if (entry.size() < 16)
            return std::nullopt;
        const std::uint32_t offset = le32(entry, 12);
        if (le32(entry, 8) == 0 || offset < 6 + 16 * count)
            return std::nullopt;
        const auto side = [&](std::size_t at) {
            return entry[at] == 0 ? 256u : static_cast<unsigned char>(entry[at]);
        };
        std::optional<ImageSize> size = iconEntrySize(file.at(offset, 24));
        if (!size)
            size = sized(side(0), side(1));
        if (!largest ||
            std::uint64_t{size->width} * size->height > std::uint64_t{largest->width} * largest->height)
            largest = size;
    }
    return largest;
}

// The value of a TIFF directory entry that holds one SHORT or LONG.
std::optional<std::uint32_t> tiffNumber(std::string_view entry, bool little) {
    const auto u16 = [&](std::size_t at) { return little ? le16(entry, at) : be16(entry, at); };
    const auto u32 = [&](std::size_t at) { return little ? le32(entry, at) : be32(entry, at); };
    if (u32(4) != 1)
        return std::nullopt;
    if (u16(2) == 3)
        return u16(8);
    if (u16(2) == 4)
        return u32(8);
    return std::nullopt;
}

// TIFF: the first directory's ImageWidth and ImageLength, turned by its
// orientation. A first directory that is a reduced preview (as in camera raw
// files) says nothing about the picture.
std::optional<ImageSize> tiff(std::string_view head, const ImageBytesAt& more) {
    if (head.size() < 8)
        return std::nullopt;
    const bool little = head.starts_with("II");
    const auto u16 = [&](std::string_view d, std::size_t at) { return little ? le16(d, at) : be16(d, at); };
    const std::uint32_t directory = little ? le32(head, 4) : be32(head, 4);
    FileBytes file(head, more);
    const std::string_view countBytes = file.at(directory, 2);
    if (directory < 8 || countBytes.size() < 2)
        return std::nullopt;
    const std::uint32_t count = u16(countBytes, 0);
    const std::string_view entries = file.at(directory + 2, 12 * std::size_t{count});
    if (entries.size() < 12 * std::size_t{count})
        return std::nullopt;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int orientation = 0;
    for (std::size_t at = 0; at < entries.size(); at += 12) {
        const std::string_view entry = entries.substr(at, 12);
        const std::optional<std::uint32_t> value = tiffNumber(entry, little);
        switch (u16(entry, 0)) {
        case 0x00FE: // NewSubfileType
            if (value && (*value & 1) != 0)
                return std::nullopt;
            break;
        case 0x0100:
            width = value.value_or(0);
            break;
        case 0x0101:
            height = value.value_or(0);
            break;
        case 0x0112:
            orientation = value && *value <= 8 ? static_cast<int>(*value) : 0;
            break;
        default:
            break;
        }
    }
    return turned(sized(width, height), orientation);
}

// One ISO base media box within `d`: its type, and its body's place.
struct Box {
    std::string_view type;
    std::uint64_t body = 0; // where the body starts
    std::uint64_t end = 0;  // where the box ends
};

// The box at `at` inside `d` (whose boxes end at `limit`); nullopt when its
// header does not fit or its length runs past the end.
std::optional<Box> boxAt(std::string_view header, std::uint64_t at, std::uint64_t limit) {
    if (header.size() < 8)
        return std::nullopt;
    Box box{header.substr(4, 4), at + 8, 0};
    std::uint64_t size = be32(header, 0);
    if (size == 1) { // a 64-bit length follows
        if (header.size() < 16)
            return std::nullopt;
        size = (std::uint64_t{be32(header, 8)} << 32) | be32(header, 12);
        box.body += 8;
    } else if (size == 0) { // up to the end
        size = limit - at;
    }
    if (size < box.body - at || size > limit - at)
        return std::nullopt;
    box.end = at + size;
    return box;
}

// The boxes directly inside d[from, to).
template <class Visit> bool eachBox(std::string_view d, std::uint64_t from, std::uint64_t to, Visit visit) {
    for (std::uint64_t at = from; at < to;) {
        const std::optional<Box> box = boxAt(d.substr(at, 16), at, to);
        if (!box)
            return false;
        if (!visit(*box))
            return true;
        at = box->end;
    }
    return true;
}

// AVIF and HEIF: the primary item's `ispe` property, turned by its `irot`.
// `meta` is the whole meta box's body, after its version and flags.
std::optional<ImageSize> heifPrimary(std::string_view meta) {
    std::optional<std::uint32_t> primary;
    std::string_view properties;   // ipco's body
    std::string_view associations; // ipma's body
    bool sound = eachBox(meta, 0, meta.size(), [&](const Box& box) {
        const std::string_view body = meta.substr(box.body, box.end - box.body);
        if (box.type == "pitm" && body.size() >= 6)
            primary = body[0] == 0 ? be16(body, 4) : body.size() >= 8 ? be32(body, 4) : 0;
        if (box.type == "iprp") {
            eachBox(body, 0, body.size(), [&](const Box& inner) {
                if (inner.type == "ipco")
                    properties = body.substr(inner.body, inner.end - inner.body);
                else if (inner.type == "ipma" && associations.empty())
                    associations = body.substr(inner.body, inner.end - inner.body);
                return true;
            });
        }
        return true;
    });
    if (!sound || !primary || associations.size() < 8)
        return std::nullopt;
    // The primary item's property indexes, 1-based into ipco.
    const bool wideItems = associations[0] != 0;
    const bool wideIndexes = (static_cast<unsigned char>(associations[3]) & 1) != 0;
    const std::uint32_t items = be32(associations, 4);
    std::vector<std::uint32_t> indexes;
    std::size_t at = 8;
    for (std::uint32_t i = 0; i < items && indexes.empty(); ++i) {
        if (at + (wideItems ? 5 : 3) > associations.size())
            return std::nullopt;
        const std::uint32_t item = wideItems ? be32(associations, at) : be16(associations, at);
        at += wideItems ? 4 : 2;
        const std::uint32_t count = static_cast<unsigned char>(associations[at++]);
        if (at + count * (wideIndexes ? 2 : 1) > associations.size())
            return std::nullopt;
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::uint32_t index = wideIndexes ? be16(associations, at) & 0x7FFF
                                                    : static_cast<unsigned char>(associations[at]) & 0x7Fu;
            at += wideIndexes ? 2 : 1;
            if (item == *primary)
                indexes.push_back(index);
        }
    }
    std::optional<ImageSize> size;
    bool quarter = false;
    std::uint32_t index = 0;
    eachBox(properties, 0, properties.size(), [&](const Box& box) {
        ++index;
        if (std::find(indexes.begin(), indexes.end(), index) == indexes.end())
            return true;
        const std::string_view body = properties.substr(box.body, box.end - box.body);
        if (box.type == "ispe" && body.size() >= 12 && !size)
            size = sized(be32(body, 4), be32(body, 8));
        if (box.type == "irot" && !body.empty())
            quarter = (body[0] & 1) != 0;
        return true;
    });
    return turned(size, quarter ? 5 : 1);
}

// ISO base media files that hold still pictures: AVIF, HEIF, HEIC. Their
// meta box mostly follows the ftyp box at once, but may come after the
// image data.
std::optional<ImageSize> heif(std::string_view head, const ImageBytesAt& more) {
    constexpr std::size_t kMetaLimit = 4 * 1024 * 1024;
    FileBytes file(head, more);
    std::uint64_t at = 0;
    for (int boxes = 0; boxes < 64; ++boxes) {
        const std::optional<Box> box = boxAt(file.at(at, 16), at, UINT64_MAX / 2);
        if (!box)
            return std::nullopt;
        if (box->type == "meta") {
            if (box->end - box->body < 4 || box->end - box->body > kMetaLimit)
                return std::nullopt;
            const std::string meta(file.at(box->body, static_cast<std::size_t>(box->end - box->body)));
            if (meta.size() != box->end - box->body)
                return std::nullopt;
            return heifPrimary(std::string_view(meta).substr(4));
        }
        at = box->end;
    }
    return std::nullopt;
}

bool isHeif(std::string_view d) {
    if (d.size() < 16 || d.substr(4, 4) != "ftyp")
        return false;
    static constexpr std::string_view kBrands[] = {"avif", "avis", "heic", "heix", "heim", "heis",
                                                   "hevc", "hevx", "mif1", "msf1", "mif2"};
    const std::uint64_t end = std::min<std::uint64_t>(be32(d, 0), d.size());
    for (std::uint64_t at = 8; at + 4 <= end;
         at += at == 8 ? 8 : 4) { // the major brand, then the compatible ones
        if (std::find(std::begin(kBrands), std::end(kBrands), d.substr(at, 4)) != std::end(kBrands))
            return true;
    }
    return false;
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
    if (head.starts_with("\0\0\1\0"sv) || head.starts_with("\0\0\2\0"sv))
        return icon(head, more);
    if (head.starts_with("II*\0"sv) || head.starts_with("MM\0*"sv))
        return tiff(head, more);
    if (isHeif(head))
        return heif(head, more);
    if (startsWithSvg(head))
        return svg(head.substr(0, 64 * 1024));
    return std::nullopt;
}

} // namespace tabulon
