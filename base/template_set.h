#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace tabulon {

// Check box states as the window and configuration files store them.
enum CheckState : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

// The values that describe a list. Only kChecked turns the comments on.
struct TemplateSet {
    std::string width;
    std::string top;
    std::string bottom;
    std::string newRow;
    std::string newEntry;
    std::string endEntry;
    int addComments = kChecked;

    bool operator==(const TemplateSet&) const = default;
};

// The names of the values where they are stored: the window names its boxes so
// and the configuration files use them as keys. Stored data: they never change.
namespace template_key {
inline constexpr const char* kWidth = "txtWidth";
inline constexpr const char* kTextTop = "cbTextTop";
inline constexpr const char* kTextBottom = "cbTextBottom";
inline constexpr const char* kTextNewRow = "cbTextNewRow";
inline constexpr const char* kTextNewEntry = "cbTextNewEntry";
inline constexpr const char* kTextEndEntry = "cbTextEndEntry";
inline constexpr const char* kAddComments = "chkAddComments";
} // namespace template_key

// The five texts of a set, each with the name it is stored under, in the
// order the window and a saved file list them.
inline constexpr std::array<std::pair<const char*, std::string TemplateSet::*>, 5> kTemplateTexts{{
    {template_key::kTextTop, &TemplateSet::top},
    {template_key::kTextBottom, &TemplateSet::bottom},
    {template_key::kTextNewRow, &TemplateSet::newRow},
    {template_key::kTextNewEntry, &TemplateSet::newEntry},
    {template_key::kTextEndEntry, &TemplateSet::endEntry},
}};

// The set of a first run: an HTML table four cells wide.
TemplateSet initialTemplateSet();

// Turns every line-break marker into CR LF.
std::string expandLineBreaks(std::string_view text);

inline constexpr std::string_view kLineBreakMarker = "{{CRLF}}";
inline constexpr std::string_view kLineBreak = "\r\n";

} // namespace tabulon
