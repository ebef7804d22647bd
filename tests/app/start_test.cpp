#include <csignal>
#include <fstream>
#include <string>

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

TEST(StartSwitches, TheArgumentTextIsTheRawArgumentsJoined) {
    struct Case {
        std::vector<const char*> argv;
        const char* text;
    };
    const Case cases[] = {
        {{"tabulon"}, ""},
        {{"tabulon", "/hkpreg", "-style", "fusion"}, "/hkpreg -style fusion"},
        {{"tabulon", "-reverse", "/hkprun"}, "-reverse /hkprun"},
        {{"tabulon", "a b", "é"}, "a b é"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(argumentText(static_cast<int>(c.argv.size()), c.argv.data()), QString::fromUtf8(c.text))
            << c.text;
}

// The window program has installed its close-on-signal handling, which it
// does just before it shows its window.
bool handlesTermination(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1U;
    }
    return false;
}

TEST(StartSwitches, AToolkitOptionBesideASwitchStartsTheWindowStandalone) {
    const QStringList runs[] = {
        {QStringLiteral("/hkpreg"), QStringLiteral("-style"), QStringLiteral("fusion")},
        {QStringLiteral("-reverse"), QStringLiteral("/hkpreg")},
        {QStringLiteral("-reverse"), QStringLiteral("/setupregistry")},
    };
    for (const QStringList& arguments : runs) {
        const std::string what = arguments.join(QLatin1Char(' ')).toStdString();
        const test::TempDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.path()));
        // A registration would fail here and wait for its message to be answered.
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=") + QString::fromStdString(home / "no-bus"));
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(QStringLiteral(TABULON_WINDOW), arguments);
        ASSERT_TRUE(window.waitForStarted(5000)) << what;
        const bool open = QTest::qWaitFor(
            [&] { return window.state() != QProcess::Running || handlesTermination(window.processId()); },
            10000);
        if (!open || window.state() != QProcess::Running) {
            ADD_FAILURE() << what << ": the window never opened";
            window.kill();
            window.waitForFinished(5000);
            continue;
        }
        ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
        ASSERT_TRUE(window.waitForFinished(10000)) << what;
        EXPECT_EQ(window.exitStatus(), QProcess::NormalExit) << what;
        EXPECT_EQ(window.exitCode(), 0) << what;
        // Closed like any open window: its place is stored.
        EXPECT_NE(test::readAll(home / "Tabulon/tabulon.ini").find("[frmConfig]"), std::string::npos) << what;
    }
}

} // namespace
} // namespace tabulon
