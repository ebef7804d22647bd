#pragma once

#include <optional>

#include "base/template_set.h"

class QWidget;

// Saving and loading a template set as a configuration file, through the
// configuration dialogs. The folder used is remembered; a failure is shown
// and changes nothing.
namespace tabulon {

class Dialogs;
class SettingsStore;

void saveConfigurationAs(QWidget* window, Dialogs& dialogs, SettingsStore& store, const TemplateSet& set);
// `set` with the values a chosen file holds; nothing when cancelled or failed.
std::optional<TemplateSet> loadConfigurationFrom(QWidget* window, Dialogs& dialogs, SettingsStore& store,
                                                 TemplateSet set);

} // namespace tabulon
