#include "persist/ini_document.h"

#include "base/blanks.h"
#include "base/template_set.h"
#include "persist/utf16_text.h"

namespace tabulon {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

constexpr auto Trim = trimBlanks;

bool sameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool isComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

// The section's name for a header line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return line.substr(0, line.find(']'));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> asKeyLine(std::string_view line) {
    if (isComment(line) || sectionName(line))
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{line.substr(0, eq), line.substr(eq + 1)};
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

std::string oneLine(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            out.append(kLineBreakMarker);
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

bool IniDocument::isValidSection(std::string_view section) {
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos;
}

bool IniDocument::isValidKey(std::string_view key) {
    const std::string_view name = Trim(key);
    return !name.empty() && !hasLineBreak(name) && name.find('=') == std::string_view::npos &&
           name.front() != ';' && name.front() != '[';
}

IniDocument IniDocument::parse(std::string_view bytes) {
    if (const auto utf8 = utf16WithBomToUtf8(bytes))
        return parse(*utf8);
    IniDocument doc;
    if (bytes.starts_with(kBom)) {
        doc.bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            doc.lines_.push_back({std::string(bytes), ""});
            break;
        }
        std::string_view eol = "\n";
        if (bytes[end] == '\r')
            eol = (end + 1 < bytes.size() && bytes[end + 1] == '\n') ? kCrLf : std::string_view("\r");
        doc.lines_.push_back({std::string(bytes.substr(0, end)), eol});
        bytes.remove_prefix(end + eol.size());
    }
    return doc;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i].text);
        if (name && sameName(*name, section))
            return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !sectionName(lines_[i].text))
        ++i;
    return i;
}

std::optional<std::string_view> IniDocument::get(std::string_view section, std::string_view key) const {
    const auto header = findSection(section);
    if (!header)
        return std::nullopt;
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto line = asKeyLine(lines_[i].text);
        if (line && sameName(line->key, key))
            return line->value;
    }
    return std::nullopt;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    if (!isValidSection(section) || !isValidKey(key))
        return false;
    const std::string newValue = oneLine(value);

    const auto header = findSection(section);
    if (header) {
        const std::size_t end = sectionEnd(*header);
        for (std::size_t i = *header + 1; i < end; ++i) {
            const auto line = asKeyLine(lines_[i].text);
            if (line && sameName(line->key, key)) {
                // Keep the key as it was spelled; only the value changes.
                Line& target = lines_[i];
                target.text.resize(line->key.size() + 1);
                target.text.append(newValue);
                target.eol = kCrLf;
                return true;
            }
        }
        std::size_t last = end;
        while (last > *header + 1 && Trim(lines_[last - 1].text).empty())
            --last;
        if (lines_[last - 1].eol.empty())
            lines_[last - 1].eol = kCrLf;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last),
                      Line{std::string(Trim(key)) + "=" + newValue, kCrLf});
        return true;
    }

    if (!lines_.empty() && lines_.back().eol.empty())
        lines_.back().eol = kCrLf;
    lines_.push_back({"[" + std::string(Trim(section)) + "]", kCrLf});
    lines_.push_back({std::string(Trim(key)) + "=" + newValue, kCrLf});
    return true;
}

std::string IniDocument::serialize() const {
    std::string out;
    if (bom_)
        out.append(kBom);
    for (const Line& line : lines_)
        out.append(line.text).append(line.eol);
    return out;
}

} // namespace tabulon
