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
    open();
    for (const design::Control& c : design::kControls) {
        QWidget* widget = control(c.name);
        QString text;
        int room = widget->width();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            text = frame->title();
            room -= 16; // the frame's border on both sides
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            room -= qobject_cast<QCheckBox*>(widget) ? 22 : 6; // box, or bevel
        }
        if (text.isEmpty())
            continue;
        EXPECT_LE(QFontMetrics(widget->font()).horizontalAdvance(text), room) << c.name;
    }
    const auto* version = control<QLabel>("lblVersion");
    EXPECT_EQ(version->text(), QStringLiteral("Tabulon 1.2.0"));
    EXPECT_LE(version->geometry().right(), 722);
}

TEST_F(WindowTest, OpensWithTheInitialSetAndTheFocusInTheWidth) {
    FrmConfig& window = open();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tabulon"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), QStringLiteral("4"));
    EXPECT_EQ(control<QCheckBox>("chkAddComments")->checkState(), Qt::Checked);
    EXPECT_EQ(templateBox("cbTextNewEntry")->count(), 0);
    EXPECT_FALSE(control("cmdGo")->isEnabled());
    EXPECT_FALSE(control("cmdPluginInsert")->isVisible());
    EXPECT_FALSE(control("txtInputPopup")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control("txtWidth"));
    EXPECT_EQ(templateBox("cbTextEndEntry")->toolTip(), QString::fromLatin1(strings::kEntryTemplateTip));
    EXPECT_EQ(templateBox("cbTextNewRow")->toolTip(), QString::fromLatin1(strings::kShortTemplateTip));
    EXPECT_EQ(control("lblHelp")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(WindowTest, TabFollowsTheDesignedOrder) {
    open();
    const char* cycle[] = {"txtWidth",          "chkAddComments", "cbTextTop",    "cbTextBottom",
                           "cbTextNewEntry",    "cbTextEndEntry", "cbTextNewRow", "cmdSaveConfig",
                           "cmdLoadConfig",     "txtResult",      "cmdPreview",   "cmdCopy",
                           "cmdBrowseForFiles", "txtWidth"};
    control(cycle[0])->setFocus();
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
