#include <csignal>

#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "hostlink/dbus_host_core.h"
#include "support/run_process.h"

namespace tabulon {
namespace {

test::ProcessResult Host(const std::vector<std::string>& args) {
    return test::RunProcess(TABULON_HOST, args);
}

TEST(TabulonHost, RegisterPrintsWhatTheRealPluginRegistered) {
    const test::ProcessResult r = Host({"register", "--plugin", TABULON_WINDOW});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 46), "[Registration]\nNAME_1=Tabulon\nSECTION_1=Tools\n");
    EXPECT_NE(r.out.find("\nMODE_IN_TEXT_SELECTED_1=0\n"), std::string::npos) << r.out;
}

TEST(TabulonHost, RunPrintsTheHandedOverTextByteForByte) {
    const std::string text = "<ul>\r\n<li>é</li>\r\n</ul>";
    ::setenv("TABULON_FAKE_OUTPUT", text.c_str(), 1);
    const test::ProcessResult handedOver = Host({"run", "--plugin", TABULON_FAKE_PLUGIN});
    ::unsetenv("TABULON_FAKE_OUTPUT");
    EXPECT_EQ(handedOver.exitCode, 0) << handedOver.err;
    EXPECT_EQ(handedOver.out, text);

    const test::ProcessResult closed = Host({"run", "--plugin", TABULON_FAKE_PLUGIN});
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_EQ(closed.out, "");
}

TEST(TabulonHost, ServeLogsEachCallOnOneLineUntilTerminated) {
    QProcess serve;
    serve.start(QStringLiteral(TABULON_HOST), {QStringLiteral("serve")});
    ASSERT_TRUE(serve.waitForStarted());
    std::unique_ptr<DbusHostCore> core;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (core = DbusHostCore::Create(QDBusConnection::sessionBus())) != nullptr; }, 5000));

    // Another owner is refused while this one serves.
    const test::ProcessResult second = Host({"serve"});
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_NE(second.err.find("already owns htmlkit.HTMLKitPluginsCore"), std::string::npos) << second.err;

    EXPECT_EQ(core->hkp_DataAdd(QStringLiteral("OUTPUT"), QStringLiteral("a\r\nb\\c")), QString());
    EXPECT_EQ(core->hkp_DataAddInt(QStringLiteral("MODE"), 7), QString());
    serve.terminate();
    ASSERT_TRUE(serve.waitForFinished(5000));
    EXPECT_EQ(serve.exitCode(), 0);
    EXPECT_EQ(serve.readAllStandardOutput(), QByteArray("hkp_DataAdd\tOUTPUT\tstring\ta\\r\\nb\\\\c\n"
                                                        "hkp_DataAddInt\tMODE\tint16\t7\n"));
}

} // namespace
} // namespace tabulon
