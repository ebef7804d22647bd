#include "selection/dialogs.h"

#include <QCoreApplication>

namespace tabulon {

namespace {

constexpr const char* kSelectFilesLabels[] = {
    QT_TRANSLATE_NOOP("tabulon::QtDialogs", "All files (*.*)"),
    QT_TRANSLATE_NOOP("tabulon::QtDialogs", "Graphics (*.jpg;*.gif;*.bmp)"),
};

} // namespace

QString fileTypesFilterLabel(const QString& fileTypes) {
    return QCoreApplication::translate("tabulon::QtDialogs", "Files of the configuration (%1)")
        .arg(fileTypes);
}

QStringList selectFilesFilterLabels() {
    QStringList labels;
    for (const char* label : kSelectFilesLabels)
        labels.append(QCoreApplication::translate("tabulon::QtDialogs", label));
    return labels;
}

} // namespace tabulon
