#pragma once

#include <optional>

#include <QString>

#include "base/template_set.h"
#include "persist/config_file.h"

class QWidget;

// Saving and loading a template set as a configuration file, through the
// configuration dialogs. The folder used is remembered; a failure is shown
// and changes nothing.
namespace tabulon {

class Dialogs;
class SettingsStore;

// A template set loaded from a file, with what the file says beside it.
struct LoadedConfiguration {
    TemplateSet set;
    ConfigExtras extras;
};

void saveConfigurationAs(QWidget* window, Dialogs& dialogs, SettingsStore& store, const TemplateSet& set);
// `set` with the values a chosen file holds; nothing when cancelled or failed.
std::optional<LoadedConfiguration> loadConfigurationFrom(QWidget* window, Dialogs& dialogs,
                                                         SettingsStore& store, TemplateSet set);

// The file types of the configuration loaded last: the file dialog lists them
// first for the rest of the window's session, and opens on them until the
// user chooses another filter. The stored filter index keeps counting the
// fixed filters only, so it means the same in every session.
class OfferedFileTypes {
public:
    void offer(const std::string& patterns) {
        patterns_ = QString::fromStdString(patterns);
        chosen_ = !patterns_.isEmpty();
    }
    const QString& patterns() const { return patterns_; }
    // The filter the dialog opens on, given the stored one.
    int dialogFilter(int stored) const { return chosen_ ? 0 : stored; }
    // After a successful choice: whether its filter is one to store.
    bool takeChoice(int filterIndex) {
        chosen_ = filterIndex == 0 && !patterns_.isEmpty();
        return !chosen_;
    }

private:
    QString patterns_;
    bool chosen_ = false;
};

} // namespace tabulon
