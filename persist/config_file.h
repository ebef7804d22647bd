#pragma once

#include <string>

#include "base/template_set.h"
#include "posix/io_result.h"

// Configuration files: a whole template set in the section "Configuration",
// one key per value, named after the window control that holds it.
namespace tabulon {

inline constexpr const char* kConfigurationSection = "Configuration";

// Writes a fresh file holding only the seven keys, replacing any old file in
// one step: a failure leaves the old file whole.
IoResult saveConfiguration(const std::string& path, const TemplateSet& set);

// Empties the six texts and fills what the file has; the check state changes
// only when the file holds 0, 1 or 2. A file that cannot be read changes nothing.
IoResult loadConfiguration(const std::string& path, TemplateSet& set);

} // namespace tabulon
