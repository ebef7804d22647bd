#include "app/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/history.h"
#include "app/result_text.h"

namespace tabulon {

TemplateBox::TemplateBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxCount(1000);
    // A template is one line: pasted line breaks become markers at once.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
            const int fromEnd = text.size() - lineEdit()->cursorPosition();
            const QString oneLine = lineBreaksToMarkers(text);
            lineEdit()->setText(oneLine);
            lineEdit()->setCursorPosition(oneLine.size() - fromEnd);
        }
    });
}

QStringList TemplateBox::history() const {
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.push_back(itemText(i));
    return entries;
}

void TemplateBox::setHistory(const QStringList& entries) {
    // clear() and inserting into an empty list overwrite the edit text.
    const QString typed = currentText();
    clear();
    addItems(entries);
    setEditText(typed);
}

void TemplateBox::appendToHistory(const QString& entry) {
    const QString typed = currentText();
    addItem(entry);
    setEditText(typed);
}

void TemplateBox::recordCurrentText() {
    std::vector<std::string> entries;
    for (const QString& entry : history())
        entries.push_back(entry.toStdString());
    const std::vector<std::string> updated = UpdateComboList(entries, currentText().toStdString());
    if (updated == entries)
        return;
    QStringList list;
    for (const std::string& entry : updated)
        list.push_back(QString::fromStdString(entry));
    setHistory(list);
}

void WidthBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool control = event->modifiers() & Qt::ControlModifier;
    // Ctrl+C, V, X and Z type control characters, which the box drops too.
    const bool typesCharacter = (!typed.isEmpty() && event->key() != Qt::Key_Delete) ||
                                (control && (event->key() == Qt::Key_C || event->key() == Qt::Key_V ||
                                             event->key() == Qt::Key_X || event->key() == Qt::Key_Z));
    const bool digit =
        typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9');
    if (typesCharacter && !(digit && !control)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

int CommentCheckBox::state() const {
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void CommentCheckBox::setState(int state) {
    setTristate(state == 2);
    setCheckState(state == 2 ? Qt::PartiallyChecked : state == 1 ? Qt::Checked : Qt::Unchecked);
}

void CommentCheckBox::nextCheckState() {
    setState(checkState() == Qt::Checked ? 0 : 1);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit released(event->button(), event->modifiers());
}

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
}

void MultiLineBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        insertPlainText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PopupBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        emit escapePressed();
        return;
    }
    MultiLineBox::keyPressEvent(event);
}

void PopupBox::focusOutEvent(QFocusEvent* event) {
    MultiLineBox::focusOutEvent(event);
    // A context menu or another program's window is no leaving of the popup.
    const bool leaves =
        event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
    if (leaves && isVisible())
        emit focusLost();
}

} // namespace tabulon
