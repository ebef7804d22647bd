#include "listgen/entry_template.h"

#include <array>
#include <utility>

#include "base/template_set.h"

namespace tabulon {

namespace {

using Field = EntryTemplate::Field;
using Escape = EntryTemplate::Escape;

struct Placeholder {
    std::string_view text;
    Field field;
    Escape escape;
};

// In the order in which they are replaced: the six of old first, as lists
// made with them have always been; none of the others can overlap them.
constexpr std::array kPlaceholders = {
    Placeholder{"{{BASE}}", Field::Base, Escape::None},
    Placeholder{"{{EXT}}", Field::Ext, Escape::None},
    Placeholder{"{{SHORTEXT}}", Field::ShortExt, Escape::None},
    Placeholder{"{{FILE}}", Field::File, Escape::None},
    Placeholder{"{{PATH}}", Field::Path, Escape::None},
    Placeholder{"{{INC}}", Field::Content, Escape::None},
    Placeholder{"{{BASE:html}}", Field::Base, Escape::Html},
    Placeholder{"{{EXT:html}}", Field::Ext, Escape::Html},
    Placeholder{"{{SHORTEXT:html}}", Field::ShortExt, Escape::Html},
    Placeholder{"{{FILE:html}}", Field::File, Escape::Html},
    Placeholder{"{{PATH:html}}", Field::Path, Escape::Html},
    Placeholder{"{{INC:html}}", Field::Content, Escape::Html},
    Placeholder{"{{BASE:url}}", Field::Base, Escape::Url},
    Placeholder{"{{EXT:url}}", Field::Ext, Escape::Url},
    Placeholder{"{{SHORTEXT:url}}", Field::ShortExt, Escape::Url},
    Placeholder{"{{FILE:url}}", Field::File, Escape::Url},
    Placeholder{"{{PATH:url}}", Field::Path, Escape::Url},
    Placeholder{"{{INC:url}}", Field::Content, Escape::Url},
    Placeholder{"{{WIDTH}}", Field::Width, Escape::None},
    Placeholder{"{{HEIGHT}}", Field::Height, Escape::None},
    Placeholder{"{{SIZE}}", Field::Size, Escape::None},
    Placeholder{"{{DATE}}", Field::Date, Escape::None},
    Placeholder{"{{N}}", Field::Number, Escape::None},
    Placeholder{"{{ROW}}", Field::Row, Escape::None},
    Placeholder{"{{COL}}", Field::Column, Escape::None},
};

} // namespace

EntryTemplate::EntryTemplate(std::string_view newEntry, std::string_view endEntry) {
    std::string joined(newEntry);
    joined.append(endEntry);
    text_ = expandLineBreaks(joined);

    pieces_.push_back({Field::Literal, Escape::None, text_});
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
                    split.push_back({Field::Literal, Escape::None, rest.substr(0, at)});
                split.push_back({ph.field, ph.escape, {}});
                rest.remove_prefix(at + ph.text.size());
            }
            if (!rest.empty())
                split.push_back({Field::Literal, Escape::None, rest});
        }
        pieces_ = std::move(split);
    }

    for (const Piece& piece : pieces_) {
        if (piece.field == Field::Content && piece.escape == Escape::None)
            needsIncludeScan_ = true;
        if (piece.field == Field::Base || piece.field == Field::Ext || piece.field == Field::ShortExt)
            usesNameParts_ = true;
        if (piece.field == Field::Literal && piece.text.find(kIncludeOpen) != std::string_view::npos)
            needsIncludeScan_ = true;
    }
}

} // namespace tabulon
