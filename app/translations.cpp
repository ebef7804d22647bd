#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>

#include "base/data_folder.h"

namespace tabulon {

QString translationsFolder() {
    return QDir::cleanPath(QFile::decodeName(dataFolder("translations").c_str()) +
                           QStringLiteral("/translations"));
}

Translations::Translations(const QLocale& locale) {
    // Tries the locale's languages in turn (de_DE, then de), as the desktop orders them.
    loaded_ = own_.load(locale, QStringLiteral("tabulon"), QStringLiteral("_"), translationsFolder());
    // Qt's texts only with the window's own: one language in every dialog.
    if (!loaded_)
        return;
    QCoreApplication::installTranslator(&own_);
    if (qt_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
}

} // namespace tabulon
