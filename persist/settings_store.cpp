#include "persist/settings_store.h"

#include <QSettings>

namespace tabulon {

namespace {

QString Address(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

} // namespace

SettingsStore::SettingsStore(const QString& applicationName)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Tabulon"), applicationName)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::ReadSetting(const QString& section, const QString& key,
                                   const QString& defaultValue) const {
    return settings_->value(Address(section, key), defaultValue).toString();
}

void SettingsStore::WriteSetting(const QString& section, const QString& key, const QString& value) {
    settings_->setValue(Address(section, key), value);
}

int SettingsStore::ReadNumber(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int value = ReadSetting(section, key, QString()).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

void SettingsStore::Sync() {
    settings_->sync();
}

} // namespace tabulon
