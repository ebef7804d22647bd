#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// An INI file held as its lines, so that a change rewrites only the lines it
// touches and every other byte stays as it was.
//
// Sections are "[name]", keys "name=value"; names compare without regard to
// ASCII case and without blanks around them; a value is everything after the
// first '=' up to the line end, unchanged. Lines starting with ';' are
// comments. CR LF, LF and CR all end a line; a UTF-8 byte-order mark is skipped.
// A file with a UTF-16 byte-order mark is read as its UTF-8 conversion, and so
// written back whole in UTF-8 with the UTF-8 mark: never in two encodings.
class IniDocument {
public:
    static IniDocument parse(std::string_view bytes);

    // The value of the first such key in the first such section.
    std::optional<std::string_view> get(std::string_view section, std::string_view key) const;

    // Replaces the key's line in place, or adds the key after the last line of
    // its section, or the section at the end. Line breaks in the value are
    // written as {{CRLF}}. False, with nothing changed, for a name that could
    // not be read back (a '=' or line break in a key, a ']' in a section...).
    [[nodiscard]] bool set(std::string_view section, std::string_view key, std::string_view value);

    std::string serialize() const;

    static bool isValidSection(std::string_view section);
    static bool isValidKey(std::string_view key);

private:
    struct Line {
        std::string text;
        std::string_view eol; // "\r\n", "\n", "\r" or "" for a last line without one
    };

    std::optional<std::size_t> findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const; // first line after the section

    bool bom_ = false;
    std::vector<Line> lines_;
};

} // namespace tabulon
