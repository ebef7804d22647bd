#include <QClipboard>

#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class PopupTest : public WindowTest {
protected:
    QPlainTextEdit* Popup() { return Control<QPlainTextEdit>("txtInputPopup"); }
    void OpenPopupOn(TemplateBox* box, const QString& text) {
        box->setEditText(text);
        Key(box, Qt::Key_F2);
        ASSERT_TRUE(Popup()->isVisible());
    }
};

TEST_F(PopupTest, OpensOverTheBoxWithRealLineBreaks) {
    FrmConfig& window = Open();
    TemplateBox* box = Box("cbTextBottom");
    OpenPopupOn(box, QStringLiteral("one{{CRLF}}two{{crlf}}"));
    EXPECT_EQ(Popup()->geometry(), QRect(box->x(), box->y(), box->width(), box->height() * 4));
    EXPECT_EQ(Popup()->toPlainText(), QStringLiteral("one\ntwo{{crlf}}"));
    EXPECT_EQ(window.GetHiddenCombobox(), box);
    EXPECT_EQ(Popup()->toolTip(), box->toolTip());
    EXPECT_EQ(QApplication::focusWidget(), Popup());
}

TEST_F(PopupTest, EnterWritesBackWithMarkersAndOpensNoDialog) {
    Open();
    TemplateBox* box = Box("cbTextNewEntry");
    OpenPopupOn(box, QStringLiteral("a{{CRLF}}b"));
    Popup()->setPlainText(QStringLiteral("x\r\ny\rz\nw"));
    Key(Popup(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), QStringLiteral("x{{CRLF}}y{{CRLF}}z{{CRLF}}w"));
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(box->count(), 0);
}

TEST_F(PopupTest, EscapeDropsTheEdit) {
    Open();
    TemplateBox* box = Box("cbTextTop");
    OpenPopupOn(box, QStringLiteral("kept"));
    Type(Popup(), QStringLiteral("lost"));
    Key(Popup(), Qt::Key_Escape);
    EXPECT_EQ(box->currentText(), QStringLiteral("kept"));
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST_F(PopupTest, LeavingThePopupWritesBackAndTheFocusStaysWhereItWent) {
    Open();
    TemplateBox* box = Box("cbTextNewRow");
    OpenPopupOn(box, QStringLiteral("row"));
    Key(Popup(), Qt::Key_Return, Qt::ShiftModifier); // a line break of its own
    Type(Popup(), QStringLiteral("more"));
    QWidget* width = Control("txtWidth");
    width->setFocus();
    EXPECT_EQ(box->currentText(), QStringLiteral("row{{CRLF}}more"));
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), width);
}

TEST_F(PopupTest, F2OpensItOnlyInTemplateBoxes) {
    Open();
    for (const char* name : {"txtWidth", "txtResult", "chkAddComments", "cmdCopy"}) {
        Key(Control(name), Qt::Key_F2);
        EXPECT_FALSE(Popup()->isVisible()) << name;
    }
    Key(Box("cbTextEndEntry"), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Popup()->isVisible());
}

TEST_F(WindowTest, EnterPressesSelectFilesExceptOnAButton) {
    Open();
    for (const char* name : {"txtWidth", "cbTextTop", "txtResult", "chkAddComments"}) {
        Key(Control(name), Qt::Key_Return);
        EXPECT_EQ(dialogs.asked.size(), 1) << name;
        dialogs.asked.clear();
    }
    Key(Control("txtResult"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialogs.asked.size(), 1);
    dialogs.asked.clear();

    // A modified Enter types a line break in the result box.
    auto* result = Control<QPlainTextEdit>("txtResult");
    result->setPlainText(QStringLiteral("a"));
    result->moveCursor(QTextCursor::End);
    Key(result, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(result->toPlainText(), QStringLiteral("a\n"));

    // On a button, Enter presses that button.
    Key(Control("cmdCopy"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n"));
}

TEST_F(WindowTest, TheWidthBoxTakesDigitsOnly) {
    Open();
    auto* width = Control<QLineEdit>("txtWidth");
    width->clear();
    Type(width, QStringLiteral("1x 2-.3"));
    EXPECT_EQ(width->text(), QStringLiteral("123"));
    Key(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), QStringLiteral("123"));
    Key(width, Qt::Key_Home);
    Key(width, Qt::Key_Delete);
    EXPECT_EQ(width->text(), QStringLiteral("23"));
    width->selectAll();
    Key(width, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(width->text(), QStringLiteral("23"));
}

} // namespace
} // namespace tabulon

namespace tabulon {
namespace {

TEST_F(PopupTest, NoBreakSpacesSurviveThePopupAndCopy) {
    Open();
    TemplateBox* box = Box("cbTextTop");
    const QString nbsp = QStringLiteral("<td>a\u00A0b</td>");
    OpenPopupOn(box, nbsp);
    Key(Popup(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), nbsp);
    Control<QPlainTextEdit>("txtResult")->setPlainText(nbsp + QStringLiteral("\n\u2028"));
    Click("cmdCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), nbsp + QStringLiteral("\r\n\u2028"));
}

TEST_F(PopupTest, AContextMenuOrAnotherWindowDoesNotCloseIt) {
    Open();
    OpenPopupOn(Box("cbTextTop"), QStringLiteral("x"));
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(Popup(), &out);
        EXPECT_TRUE(Popup()->isVisible()) << reason;
    }
}

TEST_F(PopupTest, AClickOnSelectFilesOnlyClosesIt) {
    Open();
    TemplateBox* box = Box("cbTextNewEntry");
    OpenPopupOn(box, QStringLiteral("old"));
    Popup()->setPlainText(QStringLiteral("new"));
    Click("cmdBrowseForFiles");
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(box->currentText(), QStringLiteral("new"));
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), box);
    Click("cmdBrowseForFiles"); // the next click opens the dialog again
    EXPECT_EQ(dialogs.asked.size(), 1);
}

TEST_F(WindowTest, APastedLineBreakBecomesAMarker) {
    Open();
    TemplateBox* box = Box("cbTextBottom");
    box->setEditText(QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\nc"));
    Key(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("a{{CRLF}}b{{CRLF}}c"));
}

} // namespace
} // namespace tabulon
