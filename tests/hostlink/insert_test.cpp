#include <QDBusConnection>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "hostlink/dbus_host_core.h"
#include "service_thread.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

class InsertTest : public test::WindowTest {
protected:
    test::ServiceThread host;
    std::unique_ptr<DbusHostCore> core;

    FrmConfig& openPluginRun(int timeoutMs = DbusHostCore::kTimeoutMs) {
        core = DbusHostCore::create(QDBusConnection::sessionBus(), timeoutMs);
        EXPECT_NE(core, nullptr);
        return open(QStringLiteral("/hkprun"), core.get());
    }
    // Insert answers from the event loop.
    bool waitForClose(const FrmConfig& window) {
        return QTest::qWaitFor([&] { return !window.isVisible(); }, 5000);
    }
    bool waitForMessage() {
        return QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 5000);
    }
};

TEST_F(InsertTest, InsertHandsOverTheResultAsItStandsAndClosesLikeAnyClose) {
    FrmConfig& window = openPluginRun();
    EXPECT_TRUE(control("cmdPluginInsert")->isVisible());
    dialogs.fileChoices.push_back({{QStringLiteral("/p/é.jpg")}, 1});
    click("cmdBrowseForFiles");
    click("cmdGo");
    EXPECT_EQ(QApplication::focusWidget(), control("cmdPluginInsert"));
    auto* result = control<QPlainTextEdit>("txtResult");
    result->setPlainText(result->toPlainText().replace(QStringLiteral("é"), QStringLiteral("è\tok")));
    control<QLineEdit>("txtWidth")->setText(QStringLiteral("5"));
    click("cmdPluginInsert");
    ASSERT_TRUE(waitForClose(window));

    const QStringList lines = host.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("hkp_DataAdd\tMODE_OUTPUT\tint16\t2"));
    EXPECT_EQ(lines[1],
              QStringLiteral("hkp_DataAdd\tOUTPUT\tstring\t<!--Tabulon-->\\r\\n<table border=\"0\"><tr>\\r\\n"
                             "<td>/p/è\\tok.jpg</td>\\r\\n\\r\\n</tr></table>\\r\\n\\r\\n<!--/Tabulon-->"));
    EXPECT_EQ(stored(QStringLiteral("txtWidth"), QStringLiteral("text")), QStringLiteral("5"));
}

TEST_F(InsertTest, InsertHandsOverTheEnginesTextALoneLineFeedIncluded) {
    FrmConfig& window = openPluginRun();
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a\nb.jpg")}, 1});
    click("cmdBrowseForFiles");
    click("cmdGo");
    click("cmdPluginInsert");
    ASSERT_TRUE(waitForClose(window));
    EXPECT_TRUE(host.lines().last().contains(QStringLiteral("<td>/p/a\\nb.jpg</td>\\r\\n")))
        << host.lines().last().toStdString();
}

TEST_F(InsertTest, WhileTheEditorIsSlowToAnswerTheWindowStaysResponsiveAndInsertWaits) {
    FrmConfig& window = openPluginRun();
    host.holdAnswer(QStringLiteral("OUTPUT"), 500);
    auto* insert = control<QPushButton>("cmdPluginInsert");
    bool waitSeen = false;
    QTimer::singleShot(100, &window, [&] { waitSeen = window.isVisible() && !insert->isEnabled(); });
    click("cmdPluginInsert");
    EXPECT_FALSE(insert->isEnabled());
    ASSERT_TRUE(waitForClose(window));
    EXPECT_TRUE(waitSeen);
    EXPECT_EQ(host.lines().size(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(InsertTest, WithoutAnAnswerTheUserLearnsWhetherTheListMayStillArrive) {
    const int timeoutMs = 300;
    const int holdMs = 1000;
    const struct {
        const char* silentOn;
        const char* message;
        const char* lastCall;
    } cases[] = {
        // The text was never sent.
        {"MODE_OUTPUT",
         "The result was not handed over to HTML-Kit: no answer from the editor\n"
         "It is still in the result box.",
         "hkp_DataAdd\tMODE_OUTPUT\tint16\t2"},
        // The text went out; only its answer is missing.
        {"OUTPUT",
         "The result may not have reached HTML-Kit: no answer from the editor; the list may still "
         "arrive.\nIt is still in the result box.",
         "hkp_DataAdd\tOUTPUT\tstring\tprecious"},
    };
    FrmConfig& window = openPluginRun(timeoutMs);
    control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("precious"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silentOn);
        host.holdAnswer(QString::fromLatin1(c.silentOn), holdMs);
        click("cmdPluginInsert");
        ASSERT_TRUE(waitForMessage());
        EXPECT_EQ(dialogs.messages.takeFirst(), QString::fromUtf8(c.message));
        EXPECT_EQ(host.lines().last(), QString::fromUtf8(c.lastCall));
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(control("cmdPluginInsert")->isEnabled());
        EXPECT_EQ(control<QPlainTextEdit>("txtResult")->toPlainText(), QStringLiteral("precious"));
        QTest::qWait(holdMs); // until the host is free again
    }
    // A host that answers again takes the result.
    host.holdAnswer({}, 0);
    click("cmdPluginInsert");
    EXPECT_TRUE(waitForClose(window));
}

TEST_F(InsertTest, AFailedHandOverKeepsTheWindowAndItsResult) {
    FrmConfig& window = openPluginRun();
    control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("precious"));
    host.stop();
    click("cmdPluginInsert");
    ASSERT_TRUE(waitForMessage());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.first().startsWith(QStringLiteral("The result was not handed over")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(control<QPlainTextEdit>("txtResult")->toPlainText(), QStringLiteral("precious"));
}

TEST_F(InsertTest, AnyOtherArgumentTextHasNoInsertEvenWithAHost) {
    core = DbusHostCore::create(QDBusConnection::sessionBus());
    open(QStringLiteral("/hkprun x"), core.get());
    EXPECT_FALSE(control("cmdPluginInsert")->isVisible());
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a")}, 1});
    click("cmdBrowseForFiles");
    click("cmdGo");
    EXPECT_EQ(QApplication::focusWidget(), control("cmdCopy"));
    click("cmdPluginInsert"); // hidden, and inert all the same
    EXPECT_TRUE(host.lines().isEmpty());
}

TEST_F(InsertTest, AResultWithANulCharacterIsNotCutShort) {
    FrmConfig& window = openPluginRun();
    control<QPlainTextEdit>("txtResult")->setPlainText(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    click("cmdPluginInsert");
    ASSERT_TRUE(waitForMessage());
    EXPECT_FALSE(host.lines().join(QLatin1Char('\n')).contains(QStringLiteral("OUTPUT\tstring")));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.first().contains(QStringLiteral("NUL")));
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace tabulon
