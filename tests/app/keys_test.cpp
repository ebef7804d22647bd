#include <QClipboard>

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class PopupTest : public WindowTest {
protected:
    QPlainTextEdit* popup() { return control<QPlainTextEdit>("txtInputPopup"); }
    void openPopupOn(TemplateBox* box, const QString& text) {
        box->setEditText(text);
        key(box, Qt::Key_F2);
        ASSERT_TRUE(popup()->isVisible());
    }
};

TEST_F(PopupTest, OpensOverTheBoxWithRealLineBreaks) {
    FrmConfig& window = open();
    TemplateBox* box = templateBox("cbTextBottom");
    openPopupOn(box, QStringLiteral("one{{CRLF}}two{{crlf}}"));
    EXPECT_EQ(popup()->geometry(), QRect(box->x(), box->y(), box->width(), box->height() * 4));
    EXPECT_EQ(popup()->toPlainText(), QStringLiteral("one\ntwo{{crlf}}"));
    EXPECT_EQ(window.GetHiddenCombobox(), box);
    EXPECT_EQ(popup()->toolTip(), box->toolTip());
    EXPECT_EQ(QApplication::focusWidget(), popup());
}

TEST_F(PopupTest, EnterWritesBackWithMarkersAndOpensNoDialog) {
    open();
    TemplateBox* box = templateBox("cbTextNewEntry");
    openPopupOn(box, QStringLiteral("a{{CRLF}}b"));
    popup()->setPlainText(QStringLiteral("x\r\ny\rz\nw"));
    key(popup(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), QStringLiteral("x{{CRLF}}y{{CRLF}}z{{CRLF}}w"));
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(box->count(), 0);
}

TEST_F(PopupTest, EscapeDropsTheEdit) {
    open();
    TemplateBox* box = templateBox("cbTextTop");
    openPopupOn(box, QStringLiteral("kept"));
    type(popup(), QStringLiteral("lost"));
    key(popup(), Qt::Key_Escape);
    EXPECT_EQ(box->currentText(), QStringLiteral("kept"));
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST_F(PopupTest, LeavingThePopupWritesBackAndTheFocusStaysWhereItWent) {
    open();
    TemplateBox* box = templateBox("cbTextNewRow");
    openPopupOn(box, QStringLiteral("row"));
    key(popup(), Qt::Key_Return, Qt::ShiftModifier); // a line break of its own
    type(popup(), QStringLiteral("more"));
    QWidget* width = control("txtWidth");
    width->setFocus();
    EXPECT_EQ(box->currentText(), QStringLiteral("row{{CRLF}}more"));
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), width);
}

TEST_F(PopupTest, F2OpensItOnlyInTemplateBoxes) {
    open();
    for (const char* name : {"txtWidth", "txtResult", "chkAddComments", "cmdCopy"}) {
        key(control(name), Qt::Key_F2);
        EXPECT_FALSE(popup()->isVisible()) << name;
    }
    key(templateBox("cbTextEndEntry"), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(popup()->isVisible());
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

    // A modified Enter types a line break in the result box.
    auto* result = control<QPlainTextEdit>("txtResult");
    result->setPlainText(QStringLiteral("a"));
    result->moveCursor(QTextCursor::End);
    key(result, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(result->toPlainText(), QStringLiteral("a\n"));

    // On a button, Enter presses that button.
    key(control("cmdCopy"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n"));
}

TEST_F(WindowTest, TheWidthBoxTakesDigitsOnly) {
    open();
    auto* width = control<QLineEdit>("txtWidth");
    width->clear();
    type(width, QStringLiteral("1x 2-.3"));
    EXPECT_EQ(width->text(), QStringLiteral("123"));
    key(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), QStringLiteral("123"));
    key(width, Qt::Key_Home);
    key(width, Qt::Key_Delete);
    EXPECT_EQ(width->text(), QStringLiteral("23"));
    width->selectAll();
    key(width, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(width->text(), QStringLiteral("23"));
}

} // namespace
} // namespace tabulon

namespace tabulon {
namespace {

TEST_F(PopupTest, NoBreakSpacesSurviveThePopupAndCopy) {
    open();
    TemplateBox* box = templateBox("cbTextTop");
    const QString nbsp = QStringLiteral("<td>a\u00A0b</td>");
    openPopupOn(box, nbsp);
    key(popup(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), nbsp);
    control<QPlainTextEdit>("txtResult")->setPlainText(nbsp + QStringLiteral("\n\u2028"));
    click("cmdCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), nbsp + QStringLiteral("\r\n\u2028"));
}

TEST_F(PopupTest, AContextMenuOrAnotherWindowDoesNotCloseIt) {
    open();
    openPopupOn(templateBox("cbTextTop"), QStringLiteral("x"));
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(popup(), &out);
        EXPECT_TRUE(popup()->isVisible()) << reason;
    }
}

TEST_F(PopupTest, AClickOnSelectFilesOnlyClosesIt) {
    open();
    TemplateBox* box = templateBox("cbTextNewEntry");
    openPopupOn(box, QStringLiteral("old"));
    popup()->setPlainText(QStringLiteral("new"));
    click("cmdBrowseForFiles");
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(box->currentText(), QStringLiteral("new"));
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), box);
    click("cmdBrowseForFiles"); // the next click opens the dialog again
    EXPECT_EQ(dialogs.asked.size(), 1);
}

TEST_F(WindowTest, APastedLineBreakBecomesAMarker) {
    open();
    TemplateBox* box = templateBox("cbTextBottom");
    box->setEditText(QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\nc"));
    key(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("a{{CRLF}}b{{CRLF}}c"));
}

} // namespace
} // namespace tabulon
