#pragma once

#include <memory>

#include <QHash>
#include <QString>

class QSettings;

namespace tabulon {

// The per-user settings of the window: text values addressed by application
// name, section and key. Reading never fails: a missing value is the default.
//
// The values live in one file, where Qt keeps user settings in INI format
// (QSettings::setPath moves it). A file there that is not a regular file (a
// FIFO, a device, a folder) is never opened, so it can neither block the start
// nor be replaced: it counts as missing, values live for this run only, and
// one line on stderr says so.
class SettingsStore {
public:
    explicit SettingsStore(const QString& applicationName);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore();

    QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteSetting(const QString& section, const QString& key, const QString& value);

    // A stored whole number; anything that is no number reads as the default.
    int readNumber(const QString& section, const QString& key, int defaultValue) const;

    // Writes pending values to disk.
    void sync();

private:
    std::unique_ptr<QSettings> settings_; // null when the file is not a regular file
    QHash<QString, QString> unsaved_;     // the values of this run when it is null
};

} // namespace tabulon
