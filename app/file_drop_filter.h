#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace tabulon {

// Takes files dragged from a file manager onto the widgets it watches and
// reports them; a drag of anything else stays the widget's own business, so
// text still drops into a text box.
class FileDropFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void watch(QWidget* widget);

signals:
    // The regular files dropped, with absolute paths; never empty.
    void filesDropped(const QStringList& files);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tabulon
