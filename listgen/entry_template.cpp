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
    std::string text;
    Field field;
    Escape escape;
    bool relative = false;
};

// The placeholders without an argument, each form its own, in the order in
// which they are replaced (see PlaceholderTraits::replacedFirst).
const std::vector<Placeholder>& placeholdersInOrder() {
    static const std::vector<Placeholder> order = [] {
        std::vector<Placeholder> made;
        const auto add = [&made](const PlaceholderTraits& row, Escape escape) {
            if (row.argument == PlaceholderArgument::None && row.has(escape))
                made.push_back({"{{" + std::string(row.name) + std::string(formSuffix(escape)) + "}}",
                                row.field, escape});
        };
        for (const Escape escape : kEscapes) {
            for (const PlaceholderTraits& row : kPlaceholderTable) {
                if (row.replacedFirst)
                    add(row, escape);
            }
        }
        for (const PlaceholderTraits& row : kPlaceholderTable) {
            for (const Escape escape : kEscapes) {
                if (!row.replacedFirst)
                    add(row, escape);
            }
        }
        // Their texts overlap no other's: where they come does not matter.
        for (const PlaceholderTraits& row : kPlaceholderTable) {
            for (const Escape escape : kEscapes) {
                if (row.argument == PlaceholderArgument::None && row.relativeForm && row.has(escape))
                    made.push_back({"{{" + std::string(row.name) + std::string(kRelativeForm) +
                                        std::string(formSuffix(escape)) + "}}",
                                    row.field, escape, true});
            }
        }
        return made;
    }();
    return order;
}

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
std::size_t parseArgument(std::string_view text, const PlaceholderTraits& row, Piece& piece) {
    const std::size_t close = text.find(')');
    if (close == 0 || close == std::string_view::npos)
        return 0;
    const std::string_view argument = text.substr(0, close);
    if (row.argument == PlaceholderArgument::Key) {
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
    std::string_view rest = text.substr(close + 1);
    piece.relative = row.relativeForm && rest.starts_with(kRelativeForm);
    if (piece.relative)
        rest.remove_prefix(kRelativeForm.size());
    for (const Escape escape : kEscapes) {
        const std::string_view suffix = formSuffix(escape);
        if (row.has(escape) && rest.starts_with(suffix) && rest.substr(suffix.size()).starts_with("}}")) {
            piece.argument = argument;
            piece.escape = escape;
            return static_cast<std::size_t>(rest.data() - text.data()) + suffix.size() + 2;
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

EntryTemplate::EntryTemplate(std::string_view newEntry, std::string_view endEntry, Text kind) : kind_(kind) {
    std::string joined(newEntry);
    joined.append(endEntry);
    text_ = expandLineBreaks(joined);

    pieces_.push_back({Field::Literal, Escape::None, text_});
    for (const Placeholder& ph : placeholdersInOrder()) {
        if (!filledHere(*traitsOf(ph.field)))
            continue;
        pieces_ = splitLiterals(pieces_,
                                [&ph](std::string_view rest) -> std::optional<std::pair<std::size_t, Piece>> {
                                    const std::size_t at = rest.find(ph.text);
                                    if (at == std::string_view::npos)
                                        return std::nullopt;
                                    return std::pair{at, Piece{.field = ph.field,
                                                               .escape = ph.escape,
                                                               .text = rest.substr(at, ph.text.size()),
                                                               .relative = ph.relative}};
                                });
    }
    pieces_ = splitLiterals(pieces_, [this](std::string_view rest) { return findWithArgument(rest); });

    for (const Piece& piece : pieces_) {
        if (const PlaceholderTraits* traits = traitsOf(piece.field)) {
            needs_ |= traits->needs;
            // The file's own text as it is, which is scanned for includes.
            if (traits->needs.content && piece.escape == Escape::None)
                needsIncludeScan_ = true;
        } else if (piece.text.find(kIncludeOpen) != std::string_view::npos) {
            needsIncludeScan_ = true;
        }
    }
}

bool EntryTemplate::holds(Field field) const {
    return std::any_of(pieces_.begin(), pieces_.end(),
                       [field](const Piece& piece) { return piece.field == field; });
}

std::optional<std::pair<std::size_t, EntryTemplate::Piece>>
EntryTemplate::findWithArgument(std::string_view rest) {
    for (std::size_t at = rest.find("{{"); at != std::string_view::npos; at = rest.find("{{", at + 2)) {
        Piece found{Field::Literal, Escape::None, {}};
        std::size_t length = 0;
        const std::string_view inside = rest.substr(at + 2);
        const PlaceholderTraits* matched = nullptr;
        for (const PlaceholderTraits& row : kPlaceholderTable) {
            if (row.argument != PlaceholderArgument::None && filledHere(row) &&
                inside.starts_with(row.name) && inside.substr(row.name.size()).starts_with("(")) {
                matched = &row;
                found.field = row.field;
                const std::size_t open = 2 + row.name.size() + 1;
                length = parseArgument(rest.substr(at + open), row, found);
                if (length > 0)
                    length += open;
                break;
            }
        }
        if (length == 0)
            continue;
        if (matched->argument == PlaceholderArgument::Number) { // the side becomes an index into thumbSizes_
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
