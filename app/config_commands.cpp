#include "app/config_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/file_names.h"
#include "app/settings_keys.h"
#include "app/start.h"
#include "app/window_text.h"
#include "persist/config_file.h"
#include "selection/dialogs.h"

namespace tabulon {

namespace {

// The folder the save dialog opens in: the one last used, but not the shipped
// presets that a load may have left (the program's own, and read-only once
// installed); there, and before any, the user's documents or home folder.
QString saveFolder(const QString& remembered) {
    if (!remembered.isEmpty() && QDir::cleanPath(remembered) != QDir::cleanPath(presetsFolderPath()))
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

void saveConfigurationAs(QWidget* window, Dialogs& dialogs, SettingsStore& store, const TemplateSet& set) {
    const QString path = dialogs.saveConfiguration(
        window, saveFolder(settings::read(store, settings::kConfigFolder, QString())));
    if (path.isEmpty())
        return;
    if (const IoResult saved = saveConfiguration(localPath(path), set); !saved.ok())
        dialogs.showMessage(window, windowText(QT_TRANSLATE_NOOP("tabulon::FrmConfig",
                                                                 "The configuration could not be saved.\n%1"))
                                        .arg(QString::fromStdString(saved.error().message())));
    settings::write(store, settings::kConfigFolder, folderOf(path));
}

std::optional<LoadedConfiguration> loadConfigurationFrom(QWidget* window, Dialogs& dialogs,
                                                         SettingsStore& store, TemplateSet set) {
    // Until a folder of the user's own is remembered, the shipped presets are offered.
    const QString path = dialogs.openConfiguration(
        window, settings::read(store, settings::kConfigFolder, presetsFolderPath()));
    if (path.isEmpty())
        return std::nullopt;
    ConfigExtras extras;
    if (const IoResult loaded = loadConfiguration(localPath(path), set, extras); !loaded.ok()) {
        dialogs.showMessage(
            window,
            windowText(QT_TRANSLATE_NOOP("tabulon::FrmConfig", "The configuration could not be loaded.\n%1"))
                .arg(QString::fromStdString(loaded.error().message())));
        return std::nullopt;
    }
    settings::write(store, settings::kConfigFolder, folderOf(path));
    return LoadedConfiguration{std::move(set), std::move(extras)};
}

} // namespace tabulon
