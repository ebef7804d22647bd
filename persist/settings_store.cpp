#include "persist/settings_store.h"

#include <cstdio>

#include <QFile>
#include <QSettings>
#include <sys/stat.h>

namespace tabulon {

namespace {

QString address(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

// Where Qt keeps this program's settings, a folder given to setPath included.
// Qt tells the name only through a QSettings object, and making one reads the
// files it stands for (with the organization-wide and system-wide ones beside
// them). One of a format of our own stands for files that exist nowhere, so it
// names ours without opening anything.
QString settingsFile(const QString& applicationName) {
    static const QSettings::Format probe = QSettings::registerFormat(
        QStringLiteral("tabulon-settings-probe"), [](QIODevice&, QSettings::SettingsMap&) { return true; },
        [](QIODevice&, const QSettings::SettingsMap&) { return false; });
    const QString name =
        QSettings(probe, QSettings::UserScope, QStringLiteral("Tabulon"), applicationName).fileName();
    return name.left(name.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".ini");
}

bool isThereButNoRegularFile(const QString& file) {
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

} // namespace

SettingsStore::SettingsStore(const QString& applicationName) {
    const QString file = settingsFile(applicationName);
    if (isThereButNoRegularFile(file)) {
        std::fprintf(stderr, "%s: %s is not a regular file; settings are neither read nor saved\n",
                     QFile::encodeName(applicationName).constData(), QFile::encodeName(file).constData());
        return;
    }
    // This one file only: the fallback files a QSettings made from the
    // organization's name reads could block the start in the same way.
    settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::ReadSetting(const QString& section, const QString& key,
                                   const QString& defaultValue) const {
    if (!settings_)
        return unsaved_.value(address(section, key), defaultValue);
    return settings_->value(address(section, key), defaultValue).toString();
}

void SettingsStore::WriteSetting(const QString& section, const QString& key, const QString& value) {
    if (!settings_)
        unsaved_.insert(address(section, key), value);
    else
        settings_->setValue(address(section, key), value);
}

int SettingsStore::readNumber(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int value = ReadSetting(section, key, QString()).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

void SettingsStore::sync() {
    if (settings_)
        settings_->sync();
}

} // namespace tabulon
