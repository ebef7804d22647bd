#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulon {

// The entry and end-of-entry texts, joined, with line breaks expanded and split
// once into literal text and the per-file placeholders. Each placeholder is
// looked for only in template text, never in what another one stands for.
class EntryTemplate {
public:
    enum class Field : std::uint8_t {
        Literal,
        Base,
        Ext,
        ShortExt,
        File,
        Path,
        Content,
        Width,
        Height,
        Size,
        Date,
        Number,
        Row,
        Column,
        // From the media module: pictures' thumbnails and metadata.
        Thumb,
        ThumbWidth,
        ThumbHeight,
        Taken,
        Caption,
        Meta,
    };
    // How a value is made safe for the page: not at all, for HTML text and
    // attributes, or as a URL path.
    enum class Escape : std::uint8_t { None, Html, Url };

    struct Piece {
        Field field;
        Escape escape;
        std::string_view text;          // the literal's text; a media placeholder's own text
        std::string_view argument = {}; // META's key
        std::uint32_t number = 0;       // THUMB's: which of thumbSizes()
    };

    EntryTemplate(std::string_view newEntry, std::string_view endEntry);
    EntryTemplate(const EntryTemplate&) = delete;
    EntryTemplate& operator=(const EntryTemplate&) = delete;

    const std::vector<Piece>& pieces() const { return pieces_; }
    // Needs the include scan: the file's own text as it is ({{INC}}), which
    // is scanned, or an include marker in the template.
    bool needsIncludeScan() const { return needsIncludeScan_; }
    // Holds {{BASE}}, {{EXT}} or {{SHORTEXT}}, plain or escaped.
    bool usesNameParts() const { return usesNameParts_; }
    // Holds a placeholder of the media module, which is loaded for it.
    bool usesMedia() const { return usesMedia_; }
    // Holds no media placeholder but thumbnails.
    bool usesThumbnailsOnly() const { return usesMedia_ && !usesMetadata_; }
    // The longer sides of the thumbnails named, each once.
    const std::vector<std::uint32_t>& thumbSizes() const { return thumbSizes_; }
    static bool isMedia(Field field) { return field >= Field::Thumb; }

private:
    // The first placeholder with an argument in `rest` ({{THUMB(n)}},
    // {{META(key)}}, ...), and where it starts.
    std::optional<std::pair<std::size_t, Piece>> findWithArgument(std::string_view rest);

    std::string text_;
    std::vector<Piece> pieces_;
    bool needsIncludeScan_ = false;
    bool usesNameParts_ = false;
    bool usesMedia_ = false;
    bool usesMetadata_ = false;
    std::vector<std::uint32_t> thumbSizes_;
};

inline constexpr std::string_view kIncludeOpen = "{{INC(";

} // namespace tabulon
