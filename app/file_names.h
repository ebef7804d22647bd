#pragma once

#include <string>

#include <QString>
#include <QStringList>

// File names between the toolkit and the engine, which takes them as the
// system's bytes.
namespace tabulon {

std::string localPath(const QString& path);
// The folder part of a path, with its separator, as the dialogs remember it.
QString folderOf(const QString& path);
// The regular files among `paths`, in their order, with absolute paths:
// folders, what does not exist and files in a cache folder (Tabulon's
// thumbnails) are left out, as a drop leaves them out.
QStringList regularFiles(const QStringList& paths);

} // namespace tabulon
