#include "listgen/entry_template.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/template_set.h"

namespace tabulon {

namespace {

using Field = EntryTemplate::Field;
using Escape = EntryTemplate::Escape;
using Piece = EntryTemplate::Piece;

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
    Placeholder{"{{TAKEN}}", Field::Taken, Escape::None},
    Placeholder{"{{TAKEN:html}}", Field::Taken, Escape::Html},
    Placeholder{"{{TAKEN:url}}", Field::Taken, Escape::Url},
    Placeholder{"{{CAPTION}}", Field::Caption, Escape::None},
    Placeholder{"{{CAPTION:html}}", Field::Caption, Escape::Html},
    Placeholder{"{{CAPTION:url}}", Field::Caption, Escape::Url},
};

// Placeholders with an argument: a thumbnail's longer side, a metadata key.
struct WithArgument {
    std::string_view open;
    Field field;
};
constexpr std::array kWithArgument = {
    WithArgument{"{{THUMB(", Field::Thumb},
    WithArgument{"{{THUMBWIDTH(", Field::ThumbWidth},
    WithArgument{"{{THUMBHEIGHT(", Field::ThumbHeight},
    WithArgument{"{{META(", Field::Meta},
};

// The largest thumbnail side taken: far above any screen.
constexpr std::uint32_t kMaxThumbSide = 100000;

// What Exiv2's keys are made of: XML names (letters, digits, '.', '_', '-',
// ':' and any non-ASCII letter) joined by an index "[1]", a path '/' or a
// qualifier "/?". No space, brace or parenthesis: text around
// a key never runs into it.
bool isKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c == ':' || c == '[' || c == ']' || c == '/' || c == '?' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// The argument and form of a placeholder whose opening ends at `text`'s
// start: its length in `text`, 0 when it is none.
std::size_t parseArgument(std::string_view text, Field field, Piece& piece) {
    const std::size_t close = text.find(')');
    if (close == 0 || close == std::string_view::npos)
        return 0;
    const std::string_view argument = text.substr(0, close);
    if (field == Field::Meta) {
        for (const char c : argument) {
            if (!isKeyChar(c))
                return 0;
        }
    } else {
        if (argument.size() > 6)
            return 0;
        std::uint32_t n = 0;
        for (const char c : argument) {
            if (c < '0' || c > '9')
                return 0;
            n = n * 10 + static_cast<std::uint32_t>(c - '0');
        }
        if (n == 0 || n > kMaxThumbSide)
            return 0;
        piece.number = n; // made an index by the caller
    }
    const std::string_view rest = text.substr(close + 1);
    for (const auto& [form, escape] : {std::pair{std::string_view("}}"), Escape::None},
                                       std::pair{std::string_view(":html}}"), Escape::Html},
                                       std::pair{std::string_view(":url}}"), Escape::Url}}) {
        if (rest.starts_with(form)) {
            piece.argument = argument;
            piece.escape = escape;
            return close + 1 + form.size();
        }
    }
    return 0;
}

} // namespace

// Splits every literal piece at each placeholder that `find` finds in it:
// find(rest) gives where one starts and the piece it is, its text exactly
// what it takes up.
template <class Find>
std::vector<EntryTemplate::Piece> splitLiterals(const std::vector<EntryTemplate::Piece>& pieces, Find find) {
    using Piece = EntryTemplate::Piece;
    std::vector<Piece> split;
    split.reserve(pieces.size());
    for (const Piece& piece : pieces) {
        if (piece.field != EntryTemplate::Field::Literal) {
            split.push_back(piece);
            continue;
        }
        std::string_view rest = piece.text;
        while (const std::optional<std::pair<std::size_t, Piece>> found = find(rest)) {
            const auto& [at, placeholder] = *found;
            if (at > 0)
                split.push_back(
                    {EntryTemplate::Field::Literal, EntryTemplate::Escape::None, rest.substr(0, at)});
            split.push_back(placeholder);
            rest.remove_prefix(at + placeholder.text.size());
        }
        if (!rest.empty())
            split.push_back({EntryTemplate::Field::Literal, EntryTemplate::Escape::None, rest});
    }
    return split;
}

EntryTemplate::EntryTemplate(std::string_view newEntry, std::string_view endEntry) {
    std::string joined(newEntry);
    joined.append(endEntry);
    text_ = expandLineBreaks(joined);

    pieces_.push_back({Field::Literal, Escape::None, text_});
    for (const Placeholder& ph : kPlaceholders) {
        pieces_ = splitLiterals(
            pieces_, [&ph](std::string_view rest) -> std::optional<std::pair<std::size_t, Piece>> {
                const std::size_t at = rest.find(ph.text);
                if (at == std::string_view::npos)
                    return std::nullopt;
                return std::pair{at, Piece{ph.field, ph.escape, rest.substr(at, ph.text.size())}};
            });
    }
    pieces_ = splitLiterals(pieces_, [this](std::string_view rest) { return findWithArgument(rest); });

    for (const Piece& piece : pieces_) {
        if (isMedia(piece.field))
            usesMedia_ = true;
        if (piece.field == Field::Taken || piece.field == Field::Caption || piece.field == Field::Meta)
            usesMetadata_ = true;
        if (piece.field == Field::Content && piece.escape == Escape::None)
            needsIncludeScan_ = true;
        if (piece.field == Field::Base || piece.field == Field::Ext || piece.field == Field::ShortExt)
            usesNameParts_ = true;
        if (piece.field == Field::Literal && piece.text.find(kIncludeOpen) != std::string_view::npos)
            needsIncludeScan_ = true;
    }
}

std::optional<std::pair<std::size_t, EntryTemplate::Piece>>
EntryTemplate::findWithArgument(std::string_view rest) {
    for (std::size_t at = rest.find("{{"); at != std::string_view::npos; at = rest.find("{{", at + 2)) {
        Piece found{Field::Literal, Escape::None, {}};
        std::size_t length = 0;
        for (const WithArgument& with : kWithArgument) {
            if (rest.substr(at).starts_with(with.open)) {
                found.field = with.field;
                length = parseArgument(rest.substr(at + with.open.size()), with.field, found);
                if (length > 0)
                    length += with.open.size();
                break;
            }
        }
        if (length == 0)
            continue;
        if (found.field != Field::Meta) { // the side becomes an index into thumbSizes_
            const auto known = std::find(thumbSizes_.begin(), thumbSizes_.end(), found.number);
            const auto index = static_cast<std::uint32_t>(known - thumbSizes_.begin());
            if (known == thumbSizes_.end())
                thumbSizes_.push_back(found.number);
            found.number = index;
        }
        found.text = rest.substr(at, length);
        return std::pair{at, found};
    }
    return std::nullopt;
}

} // namespace tabulon
