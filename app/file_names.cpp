#include "app/file_names.h"

#include <QFile>

#include "base/name_parts.h"

namespace tabulon {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString folderOf(const QString& path) {
    return QString::fromStdString(std::string(GetFilePath(path.toStdString())));
}

} // namespace tabulon
