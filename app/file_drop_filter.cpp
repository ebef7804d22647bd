#include "app/file_drop_filter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "app/file_names.h"

namespace tabulon {

namespace {

// The regular files among what is dragged; folders and web addresses are none.
QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return regularFiles(paths);
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
