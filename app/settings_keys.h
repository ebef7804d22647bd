#pragma once

#include <QString>

#include "app/design.h"
#include "persist/settings_store.h"

// Every place where the window keeps a setting: section and key, said once.
// Both are stored data and never change.
namespace tabulon::settings {

struct Key {
    const char* section;
    const char* name;
};

// The window's top left corner, in twips.
inline constexpr Key kWindowLeft{design::kWindowName, "left"};
inline constexpr Key kWindowTop{design::kWindowName, "top"};
// The file selection dialog's folder and filter.
inline constexpr Key kSelectFilesFolder{"cdSelectFiles", "InitDir"};
inline constexpr Key kSelectFilesFilter{"cdSelectFiles", "FilterIndex"};
// The folder of the last configuration saved or loaded.
inline constexpr Key kConfigFolder{"cdSaveLoadConfig", "InitDir"};
// The folder that holds the help page, written on setting up.
inline constexpr Key kHelpFolder{"Locations", "Root"};

// The controls' own values live in a section named as the control.
inline constexpr const char* kHistoryCount = "ListCount"; // then the entries under "1", "2", ...
inline constexpr const char* kText = "text";
inline constexpr const char* kCheckState = "value";

inline QString read(const SettingsStore& store, Key key, const QString& defaultValue) {
    return store.ReadSetting(QLatin1String(key.section), QLatin1String(key.name), defaultValue);
}
inline int readNumber(const SettingsStore& store, Key key, int defaultValue) {
    return store.readNumber(QLatin1String(key.section), QLatin1String(key.name), defaultValue);
}
inline void write(SettingsStore& store, Key key, const QString& value) {
    store.WriteSetting(QLatin1String(key.section), QLatin1String(key.name), value);
}

} // namespace tabulon::settings
