#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listgen/placeholders.h"

namespace tabulon {

// The entry and end-of-entry texts, joined, with line breaks expanded and split
// once into literal text and the per-file placeholders; or likewise the
// new-folder text, with the placeholders filled there. Each placeholder is
// looked for only in template text, never in what another one stands for.
class EntryTemplate {
public:
    // The placeholders and their traits are kPlaceholderTable's.
    using Field = PlaceholderField;
    using Escape = ValueEscape;
    enum class Text : std::uint8_t { Entry, NewFolder };

    struct Piece {
        Field field;
        Escape escape;
        std::string_view text;          // the literal's text; a media placeholder's own text
        std::string_view argument = {}; // META's key
        std::uint32_t number = 0;       // THUMB's: which of thumbSizes()
        bool relative = false;          // the :rel form
    };

    EntryTemplate(std::string_view newEntry, std::string_view endEntry, Text kind = Text::Entry);
    EntryTemplate(const EntryTemplate&) = delete;
    EntryTemplate& operator=(const EntryTemplate&) = delete;

    const std::vector<Piece>& pieces() const { return pieces_; }
    // Needs the include scan: the file's own text as it is ({{INC}}), which
    // is scanned, or an include marker in the template.
    bool needsIncludeScan() const { return needsIncludeScan_; }
    // What the placeholders the templates hold need, all together.
    const PlaceholderNeeds& needs() const { return needs_; }
    // Holds {{BASE}}, {{EXT}} or {{SHORTEXT}}, plain or escaped.
    bool usesNameParts() const { return needs_.nameParts; }
    // Holds a placeholder of the media module, which is loaded for it.
    bool usesMedia() const { return needs_.media(); }
    // Holds no media placeholder but thumbnails.
    bool usesThumbnailsOnly() const { return needs_.media() && !needs_.metadata; }
    // The longer sides of the thumbnails named, each once.
    const std::vector<std::uint32_t>& thumbSizes() const { return thumbSizes_; }
    static bool isMedia(Field field) {
        const PlaceholderTraits* traits = traitsOf(field);
        return traits != nullptr && traits->needs.media();
    }
    // Whether it holds a placeholder of `field`.
    bool holds(Field field) const;

private:
    bool filledHere(const PlaceholderTraits& row) const {
        return kind_ == Text::Entry ? row.inEntry : row.inNewFolder;
    }
    // The first placeholder with an argument in `rest` ({{THUMB(n)}},
    // {{META(key)}}, ...), and where it starts.
    std::optional<std::pair<std::size_t, Piece>> findWithArgument(std::string_view rest);

    Text kind_;
    std::string text_;
    std::vector<Piece> pieces_;
    bool needsIncludeScan_ = false;
    PlaceholderNeeds needs_;
    std::vector<std::uint32_t> thumbSizes_;
};

} // namespace tabulon
