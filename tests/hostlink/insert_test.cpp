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
        return open(u"/hkprun"_s, core.get());
    }
    // Insert answers from the event loop.
    bool waitForClose(const FrmConfig& window) {
        return QTest::qWaitFor([&] { return !window.isVisible(); }, 5000);
    }
    bool waitForMessage() {
        return QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 5000);
    }
};

// A name's lone line feed goes as the engine wrote it, not as the box shows it.
TEST_F(InsertTest, InsertHandsOverTheEnginesTextAndClosesLikeAnyClose) {
    FrmConfig& window = openPluginRun();
    EXPECT_TRUE(control("cmdPluginInsert")->isVisible());
    select({u"/p/é\tb\nc.jpg"_s});
    click("cmdGo");
    EXPECT_EQ(QApplication::focusWidget(), control("cmdPluginInsert"));
    control<QLineEdit>("txtWidth")->setText(u"5"_s);
    click("cmdPluginInsert");
    ASSERT_TRUE(waitForClose(window));
    EXPECT_EQ(
        host.lines(),
        (QStringList{u"hkp_DataAdd\tMODE_OUTPUT\tint16\t2"_s,
                     QStringLiteral(
                         "hkp_DataAdd\tOUTPUT\tstring\t<!--Tabulon-->\\r\\n<table border=\"0\"><tr>\\r\\n"
                         "<td>/p/é\\tb\\nc.jpg</td>\\r\\n\\r\\n</tr></table>\\r\\n\\r\\n<!--/Tabulon-->")}));
    EXPECT_EQ(stored(u"txtWidth"_s, u"text"_s), u"5"_s);
}

TEST_F(InsertTest, WhileTheEditorIsSlowToAnswerTheWindowStaysResponsiveAndInsertWaits) {
    FrmConfig& window = openPluginRun();
    host.holdAnswer(u"OUTPUT"_s, 500);
    auto* insert = control<QPushButton>("cmdPluginInsert");
    bool waitSeen = false;
    QTimer::singleShot(100, &window, [&] { waitSeen = window.isVisible() && !insert->isEnabled(); });
    click("cmdPluginInsert");
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
        bool mayArrive; // the text went out; only its answer is missing
        const char* lastCall;
    } cases[] = {
        {"MODE_OUTPUT", false, "hkp_DataAdd\tMODE_OUTPUT\tint16\t2"},
        {"OUTPUT", true, "hkp_DataAdd\tOUTPUT\tstring\tprecious"},
    };
    FrmConfig& window = openPluginRun(timeoutMs);
    control<QPlainTextEdit>("txtResult")->setPlainText(u"precious"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silentOn);
        host.holdAnswer(QString::fromLatin1(c.silentOn), holdMs);
        click("cmdPluginInsert");
        ASSERT_TRUE(waitForMessage());
        const QString message = dialogs.messages.takeFirst();
        EXPECT_TRUE(message.contains(u"no answer from the editor"_s)) << message.toStdString();
        EXPECT_EQ(message.contains(u"the list may still arrive"_s), c.mayArrive);
        EXPECT_EQ(host.lines().last(), QString::fromUtf8(c.lastCall));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(control<QPlainTextEdit>("txtResult")->toPlainText(), u"precious"_s);
        QTest::qWait(holdMs); // until the host is free again
    }
    // A host that answers again takes the result.
    host.holdAnswer({}, 0);
    click("cmdPluginInsert");
    EXPECT_TRUE(waitForClose(window));
}

TEST_F(InsertTest, AFailedHandOverKeepsTheWindowAndItsResult) {
    FrmConfig& window = openPluginRun();
    auto* result = control<QPlainTextEdit>("txtResult");
    const auto insertFails = [&](const QString& text, const QString& said) {
        result->setPlainText(text);
        click("cmdPluginInsert");
        ASSERT_TRUE(waitForMessage());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages.takeFirst().contains(said));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(result->toPlainText(), text);
    };
    // A NUL would cut the text short: refused before anything is sent.
    insertFails(u"a"_s + QChar(0) + u"b"_s, u"NUL"_s);
    EXPECT_FALSE(host.lines().join(u'\n').contains(u"OUTPUT\tstring"_s));
    host.stop();
    insertFails(u"precious"_s, u"The result was not handed over"_s);
}

TEST_F(InsertTest, AnyOtherArgumentTextHasNoInsertEvenWithAHost) {
    core = DbusHostCore::create(QDBusConnection::sessionBus());
    open(u"/hkprun x"_s, core.get());
    EXPECT_FALSE(control("cmdPluginInsert")->isVisible());
    select({u"/p/a"_s});
    click("cmdGo");
    click("cmdPluginInsert"); // hidden, and inert all the same
    EXPECT_TRUE(host.lines().isEmpty());
}

} // namespace
} // namespace tabulon
