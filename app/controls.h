#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>

// The window's own kinds of control: what the toolkit's standard controls
// need to behave as the window's users expect.
namespace tabulon {

// An editable template box whose drop-down list is its history: Enter
// inserts nothing, nothing is completed, and changing the list never changes
// the typed text.
class TemplateBox : public QComboBox {
    Q_OBJECT
public:
    explicit TemplateBox(QWidget* parent);

    QStringList history() const;
    void setHistory(const QStringList& entries);
    void appendToHistory(const QString& entry);
    // Go: the current text becomes the newest entry unless it is already.
    void recordCurrentText();
};

// The width box: typing admits digits only. Keys that type no character
// (Delete, arrows) and the context menu work as usual; so do texts that
// arrive another way, which Go checks.
class WidthBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A check box that can show the grayed state of a stored or loaded value,
// while a click toggles between checked and unchecked only.
class CommentCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    int state() const; // 0 unchecked, 1 checked, 2 grayed
    void setState(int state);

protected:
    void nextCheckState() override;
};

// A label that acts as a link: it reports a mouse button released over it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A multi-line box where Tab moves on and a modified Enter types a line break
// (plain Enter belongs to the window's default button).
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineBox(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The popup template editor: reports Escape and the loss of focus.
class PopupBox : public MultiLineBox {
    Q_OBJECT
public:
    using MultiLineBox::MultiLineBox;

signals:
    void escapePressed();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace tabulon
