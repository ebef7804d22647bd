#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>

#include "app/design.h"
#include "resources/strings.h"
#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, EveryCaptionShowsWhole) {
    Open();
    for (const design::Control& c : design::kControls) {
        QWidget* control = Control(c.name);
        QString text;
        int room = control->width();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            text = frame->title();
            room -= 16; // the frame's border on both sides
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
            room -= qobject_cast<QCheckBox*>(control) ? 22 : 6; // box, or bevel
        }
        if (text.isEmpty())
            continue;
        EXPECT_LE(QFontMetrics(control->font()).horizontalAdvance(text), room) << c.name;
    }
    const auto* version = Control<QLabel>("lblVersion");
    EXPECT_EQ(version->text(), QStringLiteral("Tabulon 1.2.0"));
    EXPECT_LE(version->geometry().right(), 722);
}

TEST_F(WindowTest, OpensWithTheInitialSetAndTheFocusInTheWidth) {
    FrmConfig& window = Open();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tabulon"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(Control<QLineEdit>("txtWidth")->text(), QStringLiteral("4"));
    EXPECT_EQ(Control<QCheckBox>("chkAddComments")->checkState(), Qt::Checked);
    EXPECT_EQ(Box("cbTextNewEntry")->count(), 0);
    EXPECT_FALSE(Control("cmdGo")->isEnabled());
    EXPECT_FALSE(Control("cmdPluginInsert")->isVisible());
    EXPECT_FALSE(Control("txtInputPopup")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Control("txtWidth"));
    EXPECT_EQ(Box("cbTextEndEntry")->toolTip(), QString::fromLatin1(strings::kEntryTemplateTip));
    EXPECT_EQ(Box("cbTextNewRow")->toolTip(), QString::fromLatin1(strings::kShortTemplateTip));
    EXPECT_EQ(Control("lblHelp")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(WindowTest, TabFollowsTheDesignedOrder) {
    Open();
    const char* cycle[] = {"txtWidth",          "chkAddComments", "cbTextTop",    "cbTextBottom",
                           "cbTextNewEntry",    "cbTextEndEntry", "cbTextNewRow", "cmdSaveConfig",
                           "cmdLoadConfig",     "txtResult",      "cmdPreview",   "cmdCopy",
                           "cmdBrowseForFiles", "txtWidth"};
    Control(cycle[0])->setFocus();
    for (std::size_t i = 1; i < std::size(cycle); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(cycle[i]))
            << "after " << cycle[i - 1];
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("cmdBrowseForFiles"));
}

} // namespace
} // namespace tabulon
