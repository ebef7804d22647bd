#pragma once

#include <string>

#include <QString>

// File names between the toolkit and the engine, which takes them as the
// system's bytes.
namespace tabulon {

std::string localPath(const QString& path);
// The folder part of a path, with its separator, as the dialogs remember it.
QString folderOf(const QString& path);

} // namespace tabulon
