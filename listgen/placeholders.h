#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tabulon {

// What a piece of an entry stands for: literal text, or the placeholder of
// the row of kPlaceholderTable at the same position.
enum class PlaceholderField : std::uint8_t {
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
    Thumb,
    ThumbWidth,
    ThumbHeight,
    Taken,
    Caption,
    Meta,
    Alt,
    Folder,
    FolderName,
    FolderCount,
};

// How a value is made safe for the page: not at all, for HTML text and
// attributes, or as a URL path.
enum class ValueEscape : std::uint8_t { None, Html, Url };

inline constexpr std::array kEscapes = {ValueEscape::None, ValueEscape::Html, ValueEscape::Url};

// What follows a placeholder's name (and argument) inside the braces.
constexpr std::string_view formSuffix(ValueEscape escape) {
    switch (escape) {
    case ValueEscape::None:
        return "";
    case ValueEscape::Html:
        return ":html";
    case ValueEscape::Url:
        return ":url";
    }
    return "";
}

// Written before the escape by a placeholder that names a file or a folder
// ({{FILE:rel:url}}): the name relative to the page's folder.
inline constexpr std::string_view kRelativeForm = ":rel";

// What a placeholder's argument in parentheses is: none, a thumbnail's
// longer side, or a metadata key.
enum class PlaceholderArgument : std::uint8_t { None, Number, Key };

// What a placeholder's value is made from, beyond the name as given.
struct PlaceholderNeeds {
    bool nameParts = false;     // the name split into base and extension
    bool fileFacts = false;     // the file's size and date
    bool imageSize = false;     // the picture's size from its header
    bool content = false;       // the file's own text
    bool thumbnail = false;     // a thumbnail, from the media module
    bool thumbnailSize = false; // a thumbnail's size, from the media module
    bool metadata = false;      // the picture's metadata, from the media module

    constexpr bool media() const { return thumbnail || thumbnailSize || metadata; }
    constexpr PlaceholderNeeds& operator|=(const PlaceholderNeeds& other) {
        nameParts |= other.nameParts;
        fileFacts |= other.fileFacts;
        imageSize |= other.imageSize;
        content |= other.content;
        thumbnail |= other.thumbnail;
        thumbnailSize |= other.thumbnailSize;
        metadata |= other.metadata;
        return *this;
    }
};

struct PlaceholderTraits {
    PlaceholderField field;
    std::string_view name; // between the braces: {{FILE}}, {{THUMB(n)}}
    bool escapedForms;     // also {{NAME:html}} and {{NAME:url}}
    PlaceholderArgument argument;
    PlaceholderNeeds needs;
    // Replaced before all others, form by form across these rows (every plain
    // one, then every :html one, then every :url one); the others follow row
    // by row. No placeholder's text overlaps another's, and the first rows
    // keep the order lists made with them have always been expanded in.
    bool replacedFirst = false;
    // Which texts it is filled in: the entry's, the new-folder text. In any
    // other it stays as written.
    bool inEntry = true;
    bool inNewFolder = false;
    // Also {{NAME:rel}}, before any escape: a name that a page in another
    // folder can link to.
    bool relativeForm = false;

    constexpr bool has(ValueEscape escape) const { return escape == ValueEscape::None || escapedForms; }
};

// Every placeholder, one row each, in the order of PlaceholderField.
inline constexpr std::array kPlaceholderTable = {
    PlaceholderTraits{
        PlaceholderField::Base, "BASE", true, PlaceholderArgument::None, {.nameParts = true}, true},
    PlaceholderTraits{
        PlaceholderField::Ext, "EXT", true, PlaceholderArgument::None, {.nameParts = true}, true},
    PlaceholderTraits{
        PlaceholderField::ShortExt, "SHORTEXT", true, PlaceholderArgument::None, {.nameParts = true}, true},
    PlaceholderTraits{.field = PlaceholderField::File,
                      .name = "FILE",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::None,
                      .needs = {},
                      .replacedFirst = true,
                      .relativeForm = true},
    // {{PATH:rel}} is the folder of {{FILE:rel}}: empty for the page's own.
    PlaceholderTraits{.field = PlaceholderField::Path,
                      .name = "PATH",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::None,
                      .needs = {},
                      .replacedFirst = true,
                      .relativeForm = true},
    PlaceholderTraits{
        PlaceholderField::Content, "INC", true, PlaceholderArgument::None, {.content = true}, true},
    PlaceholderTraits{
        PlaceholderField::Width, "WIDTH", false, PlaceholderArgument::None, {.imageSize = true}},
    PlaceholderTraits{
        PlaceholderField::Height, "HEIGHT", false, PlaceholderArgument::None, {.imageSize = true}},
    PlaceholderTraits{PlaceholderField::Size, "SIZE", false, PlaceholderArgument::None, {.fileFacts = true}},
    PlaceholderTraits{PlaceholderField::Date, "DATE", false, PlaceholderArgument::None, {.fileFacts = true}},
    PlaceholderTraits{PlaceholderField::Number, "N", false, PlaceholderArgument::None, {}},
    PlaceholderTraits{PlaceholderField::Row, "ROW", false, PlaceholderArgument::None, {}},
    PlaceholderTraits{PlaceholderField::Column, "COL", false, PlaceholderArgument::None, {}},
    PlaceholderTraits{.field = PlaceholderField::Thumb,
                      .name = "THUMB",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::Number,
                      .needs = {.thumbnail = true},
                      .relativeForm = true},
    PlaceholderTraits{PlaceholderField::ThumbWidth,
                      "THUMBWIDTH",
                      true,
                      PlaceholderArgument::Number,
                      {.thumbnailSize = true}},
    PlaceholderTraits{PlaceholderField::ThumbHeight,
                      "THUMBHEIGHT",
                      true,
                      PlaceholderArgument::Number,
                      {.thumbnailSize = true}},
    // Without a day in the metadata, the file's date.
    PlaceholderTraits{PlaceholderField::Taken,
                      "TAKEN",
                      true,
                      PlaceholderArgument::None,
                      {.fileFacts = true, .metadata = true}},
    PlaceholderTraits{
        PlaceholderField::Caption, "CAPTION", true, PlaceholderArgument::None, {.metadata = true}},
    PlaceholderTraits{PlaceholderField::Meta, "META", true, PlaceholderArgument::Key, {.metadata = true}},
    // For alt attributes: the caption, else the base name.
    PlaceholderTraits{.field = PlaceholderField::Alt,
                      .name = "ALT",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::None,
                      .needs = {.nameParts = true, .metadata = true}},
    // The entry's {{PATH}} without its last separator, "." for none (and
    // for the page's own folder in {{FOLDER:rel}}).
    PlaceholderTraits{.field = PlaceholderField::Folder,
                      .name = "FOLDER",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::None,
                      .needs = {},
                      .inNewFolder = true,
                      .relativeForm = true},
    PlaceholderTraits{.field = PlaceholderField::FolderName,
                      .name = "FOLDERNAME",
                      .escapedForms = true,
                      .argument = PlaceholderArgument::None,
                      .needs = {},
                      .inNewFolder = true},
    // The entries written under a new-folder text, known when the folder's
    // run ends: the text and the run are held until then.
    PlaceholderTraits{.field = PlaceholderField::FolderCount,
                      .name = "FOLDERCOUNT",
                      .escapedForms = false,
                      .argument = PlaceholderArgument::None,
                      .needs = {},
                      .inEntry = false,
                      .inNewFolder = true},
};

// Where another file's text is inserted: {{INC(name)}}, with the same forms.
// It is found when the entry is written (listgen/include_scan.h), in the
// template's text and in the file's own.
inline constexpr std::string_view kIncludeOpen = "{{INC(";

// Literal text has no row and needs nothing.
constexpr const PlaceholderTraits* traitsOf(PlaceholderField field) {
    const auto row = static_cast<std::size_t>(field);
    return row == 0 || row > kPlaceholderTable.size() ? nullptr : &kPlaceholderTable[row - 1];
}

constexpr bool rowsFollowTheFields() {
    for (std::size_t i = 0; i < kPlaceholderTable.size(); ++i) {
        if (static_cast<std::size_t>(kPlaceholderTable[i].field) != i + 1)
            return false;
    }
    return true;
}
// A field appended without a row is reported by -Wswitch where the values are
// written (EntryProcessor::appendRaw).
static_assert(rowsFollowTheFields(), "kPlaceholderTable has one row per field, in the fields' order");

} // namespace tabulon
