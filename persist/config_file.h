#pragma once

#include <string>

#include "base/template_set.h"
#include "posix/io_result.h"

// Configuration files: a whole template set in the section "Configuration",
// one key per value, named after the window control that holds it.
namespace tabulon {

inline constexpr const char* kConfigurationSection = "Configuration";

// Keys a configuration file may carry beside the template set. They are read
// but never written: the window saves exactly the seven keys of the set.
namespace extra_key {
inline constexpr const char* kFiles = "Files";
inline constexpr const char* kStyle = "Style";
inline constexpr const char* kScript = "Script";
inline constexpr const char* kLeaveOutUnsized = "LeaveOutUnsized";
inline constexpr const char* kNewFolder = "NewFolder";
inline constexpr const char* kRelativeTo = "RelativeTo";
} // namespace extra_key

// What a configuration says beyond its template set; empty when it says nothing.
struct ConfigExtras {
    std::string files; // the file types a list takes, as "*.jpg;*.png"
    std::string style; // CSS for a whole page, "{{CRLF}}" marking its line breaks
    // 1: files whose {{WIDTH}} and {{HEIGHT}} cannot be read are left out
    // rather than listed with empty sizes.
    bool leaveOutUnsized = false;
    std::string script; // JavaScript for a whole page, "{{CRLF}}" marking its line breaks
    // Written before each folder's entries, "{{CRLF}}" marking its line breaks.
    std::string newFolder;
    // The folder the :rel forms are relative to: absolute, or from the folder
    // the page goes in by default ("..": one folder up).
    std::string relativeTo;

    bool operator==(const ConfigExtras&) const = default;
};

// Writes a fresh file holding only the seven keys, replacing any old file in
// one step: a failure leaves the old file whole.
IoResult saveConfiguration(const std::string& path, const TemplateSet& set);

// Empties the six texts and fills what the file has; the check state changes
// only when the file holds 0, 1 or 2. A file that cannot be read changes nothing.
IoResult loadConfiguration(const std::string& path, TemplateSet& set);
// The same, with the extra keys from the same read of the file.
IoResult loadConfiguration(const std::string& path, TemplateSet& set, ConfigExtras& extras);

} // namespace tabulon
