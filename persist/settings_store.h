#pragma once

#include <memory>

#include <QString>

class QSettings;

namespace tabulon {

// The per-user settings of the window: text values addressed by application
// name, section and key. Reading never fails: a missing value is the default.
class SettingsStore {
public:
    explicit SettingsStore(const QString& applicationName);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore();

    QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteSetting(const QString& section, const QString& key, const QString& value);

    // A stored whole number; anything that is no number reads as the default.
    int ReadNumber(const QString& section, const QString& key, int defaultValue) const;

    // Writes pending values to disk.
    void Sync();

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace tabulon
