#pragma once

#include <QObject>
#include <QPointer>

class QPushButton;

namespace tabulon {

class PopupBox;
class TemplateBox;

// The popup template editor: a multi-line box laid over a template box that
// shows its line-break markers as line breaks and writes them back.
class PopupEditor : public QObject {
    Q_OBJECT
public:
    // `selectFiles` is the button whose press, while the popup is open, only closes it.
    PopupEditor(QObject* parent, PopupBox* popup, QPushButton* selectFiles);

    void open(TemplateBox* box);
    // Writes the edit back (copyText) and focuses the box (focusBox); never
    // runs twice for one close, so Escape never copies.
    void close(bool copyText, bool focusBox);
    // The box the popup edits, or edited last.
    TemplateBox* editedBox() const;
    bool isOpen() const;

    // The box of a popup that a press on Select files closed just now: the
    // click that follows only returns to it. nullptr otherwise.
    TemplateBox* takeClosedBySelectFiles();

private:
    PopupBox* popup_;
    QPointer<TemplateBox> edited_;
    bool closing_ = false;
    TemplateBox* closedBySelectFiles_ = nullptr;
};

} // namespace tabulon
