#include "app/file_drop_filter.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tabulon {

namespace {

// The regular files among what is dragged; folders and web addresses are none.
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << QFileInfo(url.toLocalFile()).absoluteFilePath();
    }
    return files;
}

} // namespace

void FileDropFilter::watch(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drag = static_cast<QDropEvent*>(event);
    const QStringList files = localFiles(drag->mimeData());
    if (files.isEmpty())
        return false;
    drag->acceptProposedAction();
    if (type == QEvent::Drop)
        emit filesDropped(files);
    return true;
}

} // namespace tabulon
