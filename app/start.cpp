#include "app/start.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include "app/command_line.h"
#include "app/settings_keys.h"
#include "base/data_folder.h"
#include "resources/strings.h"

namespace tabulon {

QString argumentText(int argc, const char* const* argv) {
    return rawArguments(argc, argv).join(QLatin1Char(' '));
}

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString programFolder() {
    return QDir::cleanPath(QFile::decodeName(dataFolder(strings::kHelpFileName).c_str()));
}

QString presetsFolderPath() {
    return QDir::cleanPath(QFile::decodeName(presetsFolder().c_str())) + QLatin1Char('/');
}

void SetupRegistry(SettingsStore& store) {
    settings::write(store, settings::kHelpFolder, QDir::toNativeSeparators(programFolder()));
    store.sync();
}

void applyWindowFont(QApplication& app) {
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(QStringLiteral("Liberation Sans"))
                   ? QStringLiteral("Liberation Sans")
                   : QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(8);
    app.setFont(font);
}

} // namespace tabulon
