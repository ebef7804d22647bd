#include <csignal>
#include <fstream>
#include <optional>
#include <string>

#include <QProcess>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/start.h"
#include "support/device_node.h"
#include "support/temp_dir.h"

namespace tabulon {
namespace {

using namespace Qt::StringLiterals;

TEST(StartSwitches, ArgumentsAreRequestsToolkitOptionsOrNamesOfFiles) {
    using Request = CommandLine::Request;
    struct Case {
        QStringList arguments;
        Request request;
        QStringList names;
    };
    const Case cases[] = {
        {{}, Request::Window, {}},
        {{"a b.jpg", "é.png", "/hkprun"}, Request::Window, {"a b.jpg", "é.png", "/hkprun"}},
        {{"a.jpg", "--help"}, Request::Help, {}},
        {{"--version", "--help"}, Request::Version, {}},
        {{"-reverse", "a.jpg", "-"}, Request::Window, {"a.jpg", "-"}},
        {{"--", "--help", "-x", "--"}, Request::Window, {"--help", "-x", "--"}},
        {{"./--help"}, Request::Window, {"./--help"}},
    };
    for (const Case& c : cases) {
        const CommandLine line = readCommandLine(c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(line.request, c.request) << what;
        EXPECT_EQ(line.names, c.names) << what;
    }
}

TEST(StartSwitches, AfterTwoDashesEveryArgumentAsTypedNamesAFile) {
    const QStringList typed{u"-style"_s, u"fusion"_s, u"a.jpg"_s, u"--"_s, u"-reverse"_s, u"b c"_s};
    // The toolkit takes its options out on both sides of the "--".
    const QStringList left{u"a.jpg"_s, u"--"_s, u"b c"_s};
    EXPECT_EQ(fileNames(typed, left), (QStringList{u"a.jpg"_s, u"-reverse"_s, u"b c"_s}));
}

TEST(StartSwitches, HelpAndVersionPrintWithoutADisplay) {
    struct Case {
        const char* argument;
        const char* output; // empty: standard output is a full disk
        int exitCode;
    };
    const Case cases[] = {
        {"--help", "Usage: tabulon [FILE...]\n", 0},
        {"--version", "", 1},
    };
    test::TempDir dir;
    const std::optional<std::string> full = test::memoryDevice(dir, "full", test::kFullMinor);
    for (const Case& c : cases) {
        if (*c.output == '\0' && !full)
            continue; // no full device of the test's own here
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        if (*c.output == '\0')
            program.setStandardOutputFile(QString::fromStdString(*full));
        program.start(QStringLiteral(TABULON_WINDOW), {QString::fromLatin1(c.argument)});
        ASSERT_TRUE(program.waitForFinished(10000)) << c.argument;
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.argument;
        EXPECT_TRUE(program.readAllStandardOutput().startsWith(c.output)) << c.argument;
        EXPECT_EQ(program.readAllStandardError().contains("No space left"), c.exitCode != 0) << c.argument;
    }
    if (!full)
        GTEST_SKIP() << "device nodes cannot be made here; the full disk is left out";
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

// Starts the window program with settings in `home`, waits for its window and
// closes it as the desktop would; false when the window never opened.
bool openAndClose(const QStringList& arguments, const test::TempDir& home, QProcess& window) {
    const std::string what = arguments.join(QLatin1Char(' ')).toStdString();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, QString::fromStdString(home.path()));
    // A registration would fail here and wait for its message to be answered.
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                       u"unix:path="_s + QString::fromStdString(home / "no-bus"));
    window.setProcessEnvironment(environment);
    window.start(QStringLiteral(TABULON_WINDOW), arguments);
    if (!window.waitForStarted(5000))
        return false;
    const bool open = QTest::qWaitFor(
        [&] { return window.state() != QProcess::Running || handlesTermination(window.processId()); }, 10000);
    if (!open || window.state() != QProcess::Running) {
        window.kill();
        window.waitForFinished(5000);
        return false;
    }
    ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
    EXPECT_TRUE(window.waitForFinished(10000)) << what;
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit) << what;
    EXPECT_EQ(window.exitCode(), 0) << what;
    return true;
}

TEST(StartSwitches, AToolkitOptionBesideASwitchStartsTheWindowStandalone) {
    const QStringList runs[] = {
        {u"/hkpreg"_s, u"-style"_s, u"fusion"_s},
        {u"-reverse"_s, u"/setupregistry"_s},
        {u"--"_s, u"--help"_s},
    };
    for (const QStringList& arguments : runs) {
        const std::string what = arguments.join(QLatin1Char(' ')).toStdString();
        const test::TempDir home;
        QProcess window;
        EXPECT_TRUE(openAndClose(arguments, home, window)) << what << ": the window never opened";
        // Closed like any open window: its place is stored.
        EXPECT_NE(test::readAll(home / "Tabulon/tabulon.ini").find("[frmConfig]"), std::string::npos) << what;
    }
}

TEST(StartSwitches, FilesNamedOnTheCommandLineBecomeTheSelection) {
    const test::TempDir home;
    const std::filesystem::path folder = home.path() / "my pics";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "a é.jpg") << "x";
    QProcess window;
    window.setWorkingDirectory(QString::fromStdString(folder.string()));
    // Only files are taken: a folder named first would decide the remembered place.
    ASSERT_TRUE(
        openAndClose({QString::fromStdString(home.path()), u"a é.jpg"_s, u"missing.jpg"_s}, home, window));
    // The selection's folder is what a drop stores for the next file dialog.
    const QSettings stored(QString::fromStdString(home / "Tabulon/tabulon.ini"), QSettings::IniFormat);
    EXPECT_EQ(stored.value(u"cdSelectFiles/InitDir"_s).toString(),
              QString::fromStdString(folder.string() + "/"));
    EXPECT_TRUE(window.readAllStandardError().contains("not a file: missing.jpg"));
}

} // namespace
} // namespace tabulon
