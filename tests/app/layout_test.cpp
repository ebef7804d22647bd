#include <QLabel>

#include "resources/strings.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, OpensWithTheInitialSetAndTheFocusInTheWidth) {
    FrmConfig& window = open();
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(control("cmdPluginInsert")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control("txtWidth"));
    EXPECT_EQ(templateBox("cbTextEndEntry")->toolTip(), QString::fromLatin1(strings::kEntryTemplateTip));
    EXPECT_EQ(templateBox("cbTextNewRow")->toolTip(), QString::fromLatin1(strings::kShortTemplateTip));
    EXPECT_EQ(control("lblHelp")->cursor().shape(), Qt::PointingHandCursor);
    // Captions fit at every scale (display_test.cpp); the version keeps within its room.
    EXPECT_LE(control<QLabel>("lblVersion")->geometry().right(), 722);
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
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"cmdBrowseForFiles"_s);
}

} // namespace
} // namespace tabulon
