#include "app/start.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>

#include "persist/settings_store.h"

namespace tabulon {

QString ArgumentText(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void SetupRegistry(SettingsStore& store) {
    store.WriteSetting(QStringLiteral("Locations"), QStringLiteral("Root"),
                       QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    store.Sync();
}

void ApplyWindowFont(QApplication& app) {
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(QStringLiteral("Liberation Sans"))
                   ? QStringLiteral("Liberation Sans")
                   : QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(8);
    app.setFont(font);
}

} // namespace tabulon
