#include "listgen/entry_template.h"

#include <utility>

#include "listgen/template_set.h"

namespace tabulon {

namespace {

struct Placeholder {
    std::string_view text;
    EntryTemplate::Field field;
};

// The order in which the placeholders are replaced.
constexpr Placeholder kPlaceholders[] = {
    {"{{BASE}}", EntryTemplate::Field::Base},         {"{{EXT}}", EntryTemplate::Field::Ext},
    {"{{SHORTEXT}}", EntryTemplate::Field::ShortExt}, {"{{FILE}}", EntryTemplate::Field::File},
    {"{{PATH}}", EntryTemplate::Field::Path},         {"{{INC}}", EntryTemplate::Field::Content},
};

} // namespace

EntryTemplate::EntryTemplate(std::string_view newEntry, std::string_view endEntry) {
    std::string joined(newEntry);
    joined.append(endEntry);
    text_ = ExpandLineBreaks(joined);

    pieces_.push_back({Field::Literal, text_});
    for (const Placeholder& ph : kPlaceholders) {
        std::vector<Piece> split;
        split.reserve(pieces_.size());
        for (const Piece& piece : pieces_) {
            if (piece.field != Field::Literal) {
                split.push_back(piece);
                continue;
            }
            std::string_view rest = piece.text;
            for (std::size_t at = rest.find(ph.text); at != std::string_view::npos; at = rest.find(ph.text)) {
                if (at > 0)
                    split.push_back({Field::Literal, rest.substr(0, at)});
                split.push_back({ph.field, {}});
                rest.remove_prefix(at + ph.text.size());
            }
            if (!rest.empty())
                split.push_back({Field::Literal, rest});
        }
        pieces_ = std::move(split);
    }

    for (const Piece& piece : pieces_) {
        if (piece.field == Field::Content)
            usesContent_ = true;
        if (piece.field == Field::Base || piece.field == Field::Ext || piece.field == Field::ShortExt)
            usesNameParts_ = true;
        if (piece.field == Field::Literal && piece.text.find(kIncludeOpen) != std::string_view::npos)
            needsIncludeScan_ = true;
    }
    needsIncludeScan_ = needsIncludeScan_ || usesContent_;
}

} // namespace tabulon
