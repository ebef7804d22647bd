#include <functional>

#include <QClipboard>

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class PopupTest : public WindowTest {
protected:
    QPlainTextEdit* popup() { return control<QPlainTextEdit>("txtInputPopup"); }
};

TEST_F(PopupTest, F2OpensItOverATemplateBoxWithRealLineBreaks) {
    open();
    for (const char* name : {"txtWidth", "txtResult", "chkAddComments", "cmdCopy"}) {
        key(control(name), Qt::Key_F2);
        EXPECT_FALSE(popup()->isVisible()) << name;
    }
    TemplateBox* box = templateBox("cbTextBottom");
    box->setEditText(u"one{{CRLF}}two{{crlf}}"_s);
    key(box, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier); // modifiers or not
    ASSERT_TRUE(popup()->isVisible());
    EXPECT_EQ(popup()->geometry(), QRect(box->x(), box->y(), box->width(), box->height() * 4));
    EXPECT_EQ(popup()->toPlainText(), u"one\ntwo{{crlf}}"_s);
    EXPECT_EQ(popup()->toolTip(), box->toolTip());
    EXPECT_EQ(QApplication::focusWidget(), popup());
    // A context menu or another window takes the focus without closing it.
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(popup(), &out);
        EXPECT_TRUE(popup()->isVisible()) << reason;
    }
}

// However it closes, the popup writes its text back with markers (no-break
// spaces kept), opens no dialog and adds to no history; Escape alone drops the edit.
TEST_F(PopupTest, ClosingWritesTheEditBackUnlessEscaped) {
    open();
    TemplateBox* box = templateBox("cbTextNewEntry");
    QWidget* width = control("txtWidth");
    const QString written = u"x{{CRLF}}y{{CRLF}}z\u00A0{{CRLF}}w"_s;
    const struct {
        const char* how;
        std::function<void()> close;
        QString text;
        QWidget* focus;
    } cases[] = {
        {"Enter", [&] { key(popup(), Qt::Key_Return); }, written, box},
        {"Escape", [&] { key(popup(), Qt::Key_Escape); }, u"a{{CRLF}}b"_s, box},
        {"the focus leaving", [&] { width->setFocus(); }, written, width},
        {"a click on Select files", [&] { click("cmdBrowseForFiles"); }, written, box},
    };
    for (const auto& c : cases) {
        box->setEditText(u"a{{CRLF}}b"_s);
        key(box, Qt::Key_F2);
        ASSERT_TRUE(popup()->isVisible()) << c.how;
        popup()->setPlainText(u"x\r\ny\rz\u00A0"_s);
        popup()->moveCursor(QTextCursor::End);
        key(popup(), Qt::Key_Return, Qt::ShiftModifier); // a line break of its own
        type(popup(), u"w"_s);
        c.close();
        EXPECT_FALSE(popup()->isVisible()) << c.how;
        EXPECT_EQ(box->currentText(), c.text) << c.how;
        EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.how;
        EXPECT_TRUE(dialogs.asked.isEmpty()) << c.how;
        EXPECT_EQ(box->count(), 0) << c.how;
    }
    click("cmdBrowseForFiles"); // with the popup closed, the dialog opens
    EXPECT_EQ(dialogs.asked.size(), 1);
}

TEST_F(WindowTest, EnterPressesSelectFilesExceptOnAButton) {
    open();
    for (const char* name : {"txtWidth", "cbTextTop", "txtResult", "chkAddComments"}) {
        key(control(name), Qt::Key_Return);
        EXPECT_EQ(dialogs.asked.size(), 1) << name;
        dialogs.asked.clear();
    }
    key(control("txtResult"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialogs.asked.size(), 1);
    dialogs.asked.clear();

    // A modified Enter types a line break in the result box; only line breaks
    // change on the way to the clipboard.
    auto* result = control<QPlainTextEdit>("txtResult");
    result->setPlainText(u"a\u00A0\u2028"_s);
    result->moveCursor(QTextCursor::End);
    key(result, Qt::Key_Return, Qt::ControlModifier);

    // On a button, Enter presses that button.
    key(control("cmdCopy"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"a\u00A0\u2028\r\n"_s);
}

TEST_F(WindowTest, TheWidthBoxTakesDigitsOnly) {
    open();
    auto* width = control<QLineEdit>("txtWidth");
    width->clear();
    type(width, u"1x 2-.3"_s);
    EXPECT_EQ(width->text(), u"123"_s);
    key(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), u"123"_s);
    key(width, Qt::Key_Home);
    key(width, Qt::Key_Delete);
    EXPECT_EQ(width->text(), u"23"_s);
    width->selectAll();
    key(width, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(width->text(), u"23"_s);
}

TEST_F(WindowTest, APastedLineBreakBecomesAMarker) {
    open();
    TemplateBox* box = templateBox("cbTextBottom");
    box->setEditText(QString());
    QGuiApplication::clipboard()->setText(u"a\r\nb\nc"_s);
    key(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), u"a{{CRLF}}b{{CRLF}}c"_s);
}

} // namespace
} // namespace tabulon
