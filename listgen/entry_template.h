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
    enum class Field : std::uint8_t { Literal, Base, Ext, ShortExt, File, Path, Content };

    struct Piece {
        Field field;
        std::string_view text; // the literal's text; empty for placeholders
    };

    EntryTemplate(std::string_view newEntry, std::string_view endEntry);
    EntryTemplate(const EntryTemplate&) = delete;
    EntryTemplate& operator=(const EntryTemplate&) = delete;

    const std::vector<Piece>& pieces() const { return pieces_; }
    // Holds {{INC}}: the file's own content is read for each entry.
    bool usesContent() const { return usesContent_; }
    // Needs the include scan: {{INC}} content, or an include marker in the text.
    bool needsIncludeScan() const { return needsIncludeScan_; }
    // Holds {{BASE}}, {{EXT}} or {{SHORTEXT}}: the name must be split.
    bool usesNameParts() const { return usesNameParts_; }

private:
    std::string text_;
    std::vector<Piece> pieces_;
    bool usesContent_ = false;
    bool needsIncludeScan_ = false;
    bool usesNameParts_ = false;
};

inline constexpr std::string_view kIncludeOpen = "{{INC(";
inline constexpr std::string_view kIncludeClose = ")}}";

} // namespace tabulon
