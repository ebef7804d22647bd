#include "persist/config_file.h"

#include <array>
#include <utility>

#include "base/width.h"
#include "persist/ini_file.h"

namespace tabulon {

namespace {

// The keys in the order a saved file lists them: the width, the texts, the
// check box.
constexpr std::array<std::pair<const char*, std::string TemplateSet::*>, 6> kTextKeys{{
    {template_key::kWidth, &TemplateSet::width},
    kTemplateTexts[0],
    kTemplateTexts[1],
    kTemplateTexts[2],
    kTemplateTexts[3],
    kTemplateTexts[4],
}};

} // namespace

IoResult saveConfiguration(const std::string& path, const TemplateSet& set) {
    const std::string check = std::to_string(set.addComments);
    std::array<IniEntry, kTextKeys.size() + 1> entries;
    for (std::size_t i = 0; i < kTextKeys.size(); ++i)
        entries[i] = {kTextKeys[i].first, set.*kTextKeys[i].second};
    entries.back() = {template_key::kAddComments, check};
    CIniFIle ini;
    ini.INIFile(path);
    return ini.replaceWithSection(kConfigurationSection, entries);
}

IoResult loadConfiguration(const std::string& path, TemplateSet& set) {
    ConfigExtras ignored;
    return loadConfiguration(path, set, ignored);
}

IoResult loadConfiguration(const std::string& path, TemplateSet& set, ConfigExtras& extras) {
    // The set's keys, the check box, then the extras.
    std::array<std::string_view, kTextKeys.size() + 7> keys;
    for (std::size_t i = 0; i < kTextKeys.size(); ++i)
        keys[i] = kTextKeys[i].first;
    keys[kTextKeys.size()] = template_key::kAddComments;
    keys[kTextKeys.size() + 1] = extra_key::kFiles;
    keys[kTextKeys.size() + 2] = extra_key::kStyle;
    keys[kTextKeys.size() + 3] = extra_key::kLeaveOutUnsized;
    keys[kTextKeys.size() + 4] = extra_key::kScript;
    keys[kTextKeys.size() + 5] = extra_key::kNewFolder;
    keys[kTextKeys.size() + 6] = extra_key::kRelativeTo;
    CIniFIle ini;
    ini.INIFile(path);
    const auto read = ini.readSection(kConfigurationSection, keys);
    if (!read.ok())
        return read.error();
    const IniValues& values = read.value();
    for (std::size_t i = 0; i < kTextKeys.size(); ++i)
        set.*kTextKeys[i].second = values[i].value_or(std::string());
    if (const auto& text = values[kTextKeys.size()]) {
        if (const auto state = parseWholeNumber(*text, kGrayed))
            set.addComments = static_cast<int>(*state);
    }
    extras.files = values[kTextKeys.size() + 1].value_or(std::string());
    extras.style = values[kTextKeys.size() + 2].value_or(std::string());
    extras.leaveOutUnsized = values[kTextKeys.size() + 3] == "1";
    extras.script = values[kTextKeys.size() + 4].value_or(std::string());
    extras.newFolder = values[kTextKeys.size() + 5].value_or(std::string());
    extras.relativeTo = values[kTextKeys.size() + 6].value_or(std::string());
    return {};
}

} // namespace tabulon
