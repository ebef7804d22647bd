#include <QDBusConnection>
#include <QPlainTextEdit>
#include <QPushButton>

#include "../app/window_fixture.h"
#include "hostlink/dbus_host_core.h"
#include "service_thread.h"

namespace tabulon {
namespace {

class InsertTest : public test::WindowTest {
protected:
    test::ServiceThread host;
    std::unique_ptr<DbusHostCore> core = DbusHostCore::Create(QDBusConnection::sessionBus());

    FrmConfig& OpenPluginRun() {
        EXPECT_NE(core, nullptr);
        return Open(QStringLiteral("/hkprun"), core.get());
    }
};

TEST_F(InsertTest, InsertHandsOverTheResultAsItStandsAndClosesLikeAnyClose) {
    FrmConfig& window = OpenPluginRun();
    EXPECT_TRUE(Control("cmdPluginInsert")->isVisible());
    dialogs.fileChoices.push_back({{QStringLiteral("/p/é.jpg")}, 1});
    Click("cmdBrowseForFiles");
    Click("cmdGo");
    EXPECT_EQ(QApplication::focusWidget(), Control("cmdPluginInsert"));
    auto* result = Control<QPlainTextEdit>("txtResult");
    result->setPlainText(result->toPlainText().replace(QStringLiteral("é"), QStringLiteral("è\tok")));
    Control<QLineEdit>("txtWidth")->setText(QStringLiteral("5"));
    Click("cmdPluginInsert");

    const QStringList lines = host.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("hkp_DataAdd\tMODE_OUTPUT\tint16\t2"));
    EXPECT_EQ(lines[1],
              QStringLiteral("hkp_DataAdd\tOUTPUT\tstring\t<!--Tabulon-->\\r\\n<table border=\"0\"><tr>\\r\\n"
                             "<td>/p/è\\tok.jpg</td>\\r\\n\\r\\n</tr></table>\\r\\n\\r\\n<!--/Tabulon-->"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Stored(QStringLiteral("txtWidth"), QStringLiteral("text")), QStringLiteral("5"));
}

TEST_F(InsertTest, InsertHandsOverTheEnginesTextALoneLineFeedIncluded) {
    FrmConfig& window = OpenPluginRun();
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a\nb.jpg")}, 1});
    Click("cmdBrowseForFiles");
    Click("cmdGo");
    Click("cmdPluginInsert");
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(host.lines().last().contains(QStringLiteral("<td>/p/a\\nb.jpg</td>\\r\\n")))
        << host.lines().last().toStdString();
}

TEST_F(InsertTest, AFailedHandOverKeepsTheWindowAndItsResult) {
    FrmConfig& window = OpenPluginRun();
    Control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("precious"));
    host.Stop();
    Click("cmdPluginInsert");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.first().startsWith(QStringLiteral("The result was not handed over")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Control<QPlainTextEdit>("txtResult")->toPlainText(), QStringLiteral("precious"));
}

TEST_F(InsertTest, AnyOtherArgumentTextHasNoInsertEvenWithAHost) {
    Open(QStringLiteral("/hkprun x"), core.get());
    EXPECT_FALSE(Control("cmdPluginInsert")->isVisible());
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a")}, 1});
    Click("cmdBrowseForFiles");
    Click("cmdGo");
    EXPECT_EQ(QApplication::focusWidget(), Control("cmdCopy"));
    Click("cmdPluginInsert"); // hidden, and inert all the same
    EXPECT_TRUE(host.lines().isEmpty());
}

TEST_F(InsertTest, AResultWithANulCharacterIsNotCutShort) {
    FrmConfig& window = OpenPluginRun();
    Control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    Click("cmdPluginInsert");
    EXPECT_FALSE(host.lines().join(QLatin1Char('\n')).contains(QStringLiteral("OUTPUT\tstring")));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.first().contains(QStringLiteral("NUL")));
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace tabulon
