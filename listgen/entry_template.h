#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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
    };
    // How a value is made safe for the page: not at all, for HTML text and
    // attributes, or as a URL path.
    enum class Escape : std::uint8_t { None, Html, Url };

    struct Piece {
        Field field;
        Escape escape;
        std::string_view text; // the literal's text; empty for placeholders
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

private:
    std::string text_;
    std::vector<Piece> pieces_;
    bool needsIncludeScan_ = false;
    bool usesNameParts_ = false;
};

inline constexpr std::string_view kIncludeOpen = "{{INC(";

} // namespace tabulon
