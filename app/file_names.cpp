#include "app/file_names.h"

#include <QFile>
#include <QFileInfo>

#include "base/name_parts.h"

namespace tabulon {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString folderOf(const QString& path) {
    return QString::fromStdString(std::string(GetFilePath(path.toStdString())));
}

QStringList regularFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (file.isFile())
            files << file.absoluteFilePath();
    }
    return files;
}

} // namespace tabulon
