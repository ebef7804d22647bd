#include "persist/config_file.h"

#include <array>
#include <utility>

#include "listgen/file_content.h"
#include "listgen/width.h"
#include "persist/atomic_file.h"
#include "persist/ini_document.h"

namespace tabulon {

namespace {

// The keys in the order a saved file lists them; the check box comes last.
constexpr std::array<std::pair<const char*, std::string TemplateSet::*>, 6> kTextKeys{{
    {"txtWidth", &TemplateSet::width},
    {"cbTextTop", &TemplateSet::top},
    {"cbTextBottom", &TemplateSet::bottom},
    {"cbTextNewRow", &TemplateSet::newRow},
    {"cbTextNewEntry", &TemplateSet::newEntry},
    {"cbTextEndEntry", &TemplateSet::endEntry},
}};
constexpr const char* kCheckKey = "chkAddComments";

} // namespace

IoResult SaveConfiguration(const std::string& path, const TemplateSet& set) {
    IniDocument doc;
    for (const auto& [key, member] : kTextKeys)
        doc.Set(kConfigurationSection, key, set.*member);
    doc.Set(kConfigurationSection, kCheckKey, std::to_string(set.addComments));
    return WriteFileAtomically(path, doc.Serialize());
}

IoResult LoadConfiguration(const std::string& path, TemplateSet& set) {
    FileReader reader;
    if (const std::error_code ec = reader.Read(path))
        return IoError{path, ec};
    const IniDocument doc = IniDocument::Parse(reader.data());
    for (const auto& [key, member] : kTextKeys)
        set.*member = std::string(doc.Get(kConfigurationSection, key).value_or(std::string_view()));
    if (const auto text = doc.Get(kConfigurationSection, kCheckKey)) {
        if (const auto state = ParseWholeNumber(*text, kGrayed))
            set.addComments = static_cast<int>(*state);
    }
    return std::nullopt;
}

} // namespace tabulon
