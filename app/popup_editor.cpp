#include "app/popup_editor.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "app/controls.h"
#include "app/result_text.h"

namespace tabulon {

PopupEditor::PopupEditor(QObject* parent, PopupBox* popup, QPushButton* selectFiles)
    : QObject(parent), popup_(popup) {
    connect(popup_, &PopupBox::escapePressed, this, [this] { close(false, true); });
    connect(popup_, &PopupBox::focusLost, this, [this, selectFiles] {
        TemplateBox* edited = editedBox();
        close(true, false);
        if (QApplication::focusWidget() == selectFiles)
            closedBySelectFiles_ = edited;
    });
    // Whatever the press became, a click or not, it is over after its release.
    connect(selectFiles, &QPushButton::released, this,
            [this] { QTimer::singleShot(0, this, [this] { closedBySelectFiles_ = nullptr; }); });
}

void PopupEditor::open(TemplateBox* box) {
    edited_ = box;
    popup_->setGeometry(box->x(), box->y(), box->width(), box->height() * 4);
    popup_->setPlainText(markersToLineBreaks(box->currentText()));
    popup_->moveCursor(QTextCursor::End);
    popup_->setToolTip(box->toolTip());
    popup_->setAccessibleName(box->accessibleName());
    QWidget::setTabOrder(box, popup_);
    popup_->show();
    popup_->raise();
    popup_->setFocus();
}

TemplateBox* PopupEditor::editedBox() const {
    return edited_;
}

bool PopupEditor::isOpen() const {
    return popup_->isVisible();
}

void PopupEditor::close(bool copyText, bool focusBox) {
    if (closing_ || !popup_->isVisible())
        return;
    TemplateBox* box = editedBox();
    if (box == nullptr)
        return;
    closing_ = true; // the focus loss this close causes is no second close
    if (copyText) {
        const QString text = lineBreaksToMarkers(boxText(popup_));
        if (box->currentText() != text)
            box->setEditText(text);
    }
    if (focusBox)
        box->setFocus();
    popup_->hide();
    closing_ = false;
}

TemplateBox* PopupEditor::takeClosedBySelectFiles() {
    TemplateBox* box = closedBySelectFiles_;
    closedBySelectFiles_ = nullptr;
    return box;
}

} // namespace tabulon
