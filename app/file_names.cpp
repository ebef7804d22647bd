#include "app/file_names.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include "base/name_parts.h"
#include "listgen/thumbnail_folder.h"

namespace tabulon {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString folderOf(const QString& path) {
    return QString::fromStdString(std::string(GetFilePath(path.toStdString())));
}

QStringList regularFiles(const QStringList& paths) {
    QStringList files;
    QHash<QString, bool> cacheFolders; // each folder's tag read once
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!file.isFile())
            continue;
        // Thumbnails Tabulon made (or any other cache) are no files of the user's.
        const QString folder = file.absolutePath();
        auto cache = cacheFolders.find(folder);
        if (cache == cacheFolders.end())
            cache = cacheFolders.insert(folder, readFolderTag(localPath(folder)) != FolderTag::None);
        if (!cache.value())
            files << file.absoluteFilePath();
    }
    return files;
}

} // namespace tabulon
