#include <csignal>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "hostlink/dbus_host_core.h"
#include "hostlink/host_names.h"
#include "support/run_process.h"

namespace tabulon {
namespace {

using namespace Qt::StringLiterals;

test::ProcessResult host(const std::vector<std::string>& args) {
    return test::runProcess(TABULON_HOST, args);
}

TEST(TabulonHost, RegisterPrintsWhatTheRealPluginRegistered) {
    const test::ProcessResult r = host({"register", "--plugin", TABULON_WINDOW});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 46), "[Registration]\nNAME_1=Tabulon\nSECTION_1=Tools\n");
    EXPECT_NE(r.out.find("\nMODE_IN_TEXT_SELECTED_1=0\n"), std::string::npos) << r.out;
}

TEST(TabulonHost, RunPrintsTheHandedOverTextByteForByte) {
    const std::string text = "<ul>\r\n<li>é</li>\r\n</ul>";
    ::setenv("TABULON_FAKE_OUTPUT", text.c_str(), 1);
    const test::ProcessResult handedOver = host({"run", "--plugin", TABULON_FAKE_PLUGIN});
    ::unsetenv("TABULON_FAKE_OUTPUT");
    EXPECT_EQ(handedOver.exitCode, 0) << handedOver.err;
    EXPECT_EQ(handedOver.out, text);

    const test::ProcessResult closed = host({"run", "--plugin", TABULON_FAKE_PLUGIN});
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_EQ(closed.out, "");
}

TEST(TabulonHost, AUsageErrorNamesTheProblemAndPointsToHelpWhileHelpAndVersionWin) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{}, "no command given (serve, register or run)"},
        {{"serve", "run"}, "one command only, not both 'serve' and 'run'"},
        {{"%1", "serve"}, "unknown command '%1'"},
        {{"-", "--", "run"}, "unknown option '-'"},
        {{"run", "--plugin", "--help", "--plugin"}, "option '--plugin' needs a path"},
    };
    for (const auto& [args, problem] : cases) {
        const test::ProcessResult r = host(args);
        EXPECT_EQ(r.exitCode, 2) << problem;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tabulon-host: " + problem + "\nTry 'tabulon-host --help' for more information.\n");
    }
    // --help and --version win over any mistake; the help's options come from the table.
    const test::ProcessResult help = host({"frobnicate", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("\n  --plugin PATH   the plug-in to start"), std::string::npos) << help.out;
    const test::ProcessResult version = host({"frobnicate", "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("tabulon-host ")) << version.out;
}

// Serve logs each call on one line until it is terminated; a value that is
// neither a string nor a 16-bit integer is refused and kept nowhere.
TEST(TabulonHost, ServeLogsEachAcceptedCallAndRefusesAnyOtherValue) {
    QProcess serve;
    serve.start(QStringLiteral(TABULON_HOST), {u"serve"_s});
    ASSERT_TRUE(serve.waitForStarted());
    const QString service = QString::fromLatin1(host::kService);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(service).value(); },
        5000));
    const std::unique_ptr<DbusHostCore> core = DbusHostCore::create(QDBusConnection::sessionBus());
    ASSERT_NE(core, nullptr);

    // Another owner is refused while this one serves.
    const test::ProcessResult second = host({"serve"});
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_NE(second.err.find("already owns htmlkit.HTMLKitPluginsCore"), std::string::npos) << second.err;

    EXPECT_TRUE(core->hkp_DataAdd(u"OUTPUT"_s, u"a\r\nb\\c"_s).ok());
    EXPECT_TRUE(core->hkp_DataAddInt(u"MODE"_s, 7).ok());
    const auto add = [&](const QVariant& value) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, QString::fromLatin1(host::kPath),
                                                           QString::fromLatin1(host::kInterface),
                                                           QString::fromLatin1(host::kDataAdd));
        call << u"K"_s << QVariant::fromValue(QDBusVariant(value));
        return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    };
    const std::pair<QVariant, QString> refused[] = {
        {QVariant(5), u"i"_s},
        {QVariant::fromValue(quint16(5)), u"q"_s},
        {QVariant(QByteArray("ab")), u"ay"_s},
        {QVariant::fromValue(QDBusVariant(u"a"_s)), u"v"_s},
    };
    for (const auto& [value, signature] : refused) {
        const QDBusMessage reply = add(value);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << signature.toStdString();
        EXPECT_EQ(reply.errorName(), u"org.freedesktop.DBus.Error.InvalidArgs"_s);
        EXPECT_TRUE(reply.errorMessage().endsWith(u", not "_s + signature))
            << reply.errorMessage().toStdString();
    }
    EXPECT_EQ(add(QVariant::fromValue(qint16(-3))).type(), QDBusMessage::ReplyMessage);

    serve.terminate();
    EXPECT_TRUE(serve.waitForFinished(5000));
    EXPECT_EQ(serve.exitCode(), 0);
    EXPECT_EQ(serve.readAllStandardOutput(), QByteArray("hkp_DataAdd\tOUTPUT\tstring\ta\\r\\nb\\\\c\n"
                                                        "hkp_DataAddInt\tMODE\tint16\t7\n"
                                                        "hkp_DataAdd\tK\tint16\t-3\n"));
}

} // namespace
} // namespace tabulon
