#include <csignal>
#include <filesystem>

#include <QElapsedTimer>
#include <QProcess>
#include <sys/stat.h>

#include "app/close_signals.h"
#include "app/design.h"
#include "support/fifo_watchdog.h"

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, WhatTheUserLeftIsThereAtTheNextStart) {
    FrmConfig& first = open();
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a.jpg")}, 1});
    click("cmdBrowseForFiles");
    templateBox("cbTextNewEntry")->setEditText(QStringLiteral("<li>{{BASE}}</li>"));
    click("cmdGo");
    templateBox("cbTextNewEntry")->setEditText(QStringLiteral("typed, never used"));
    control<QLineEdit>("txtWidth")->setText(QStringLiteral("7"));
    control<QCheckBox>("chkAddComments")->setCheckState(Qt::Unchecked);
    first.move(40, 30);
    close();

    EXPECT_EQ(stored(QStringLiteral("cbTextNewEntry"), QStringLiteral("ListCount")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("frmConfig"), QStringLiteral("left")), QStringLiteral("600"));
    EXPECT_EQ(stored(QStringLiteral("frmConfig"), QStringLiteral("top")), QStringLiteral("450"));

    FrmConfig& second = open();
    EXPECT_EQ(second.pos(), QPoint(40, 30));
    EXPECT_EQ(templateBox("cbTextNewEntry")->history(), QStringList{QStringLiteral("<li>{{BASE}}</li>")});
    EXPECT_EQ(templateBox("cbTextNewEntry")->currentText(), QStringLiteral("<li>{{BASE}}</li>"));
    EXPECT_EQ(templateBox("cbTextTop")->history(),
              QStringList{QStringLiteral("<table border=\"0\"><tr>{{CRLF}}")});
    EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), QStringLiteral("7"));
    EXPECT_EQ(control<QCheckBox>("chkAddComments")->checkState(), Qt::Unchecked);
}

TEST_F(WindowTest, StoredValuesThatAreNoNumbersReadAsTheirDefaults) {
    store(QStringLiteral("frmConfig"), QStringLiteral("top"), QStringLiteral("high"));
    store(QStringLiteral("frmConfig"), QStringLiteral("left"), QStringLiteral("150"));
    store(QStringLiteral("chkAddComments"), QStringLiteral("value"), QStringLiteral("seven"));
    store(QStringLiteral("cbTextTop"), QStringLiteral("ListCount"), QStringLiteral("many"));
    FrmConfig& window = open();
    EXPECT_EQ(window.pos(), QPoint(10, 0));
    EXPECT_EQ(control<QCheckBox>("chkAddComments")->checkState(), Qt::Checked);
    EXPECT_EQ(templateBox("cbTextTop")->count(), 0);
}

TEST_F(WindowTest, AGrayedCheckBoxComesBackGrayedAndAClickMakesItPlain) {
    store(QStringLiteral("chkAddComments"), QStringLiteral("value"), QStringLiteral("2"));
    open();
    auto* check = control<QCheckBox>("chkAddComments");
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
    for (const Qt::CheckState expected : {Qt::Checked, Qt::Unchecked, Qt::Checked}) {
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_EQ(check->checkState(), expected);
    }
}

TEST_F(WindowTest, APlaceTheUserCouldNotReachOpensOnThePrimaryScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* what;
        QPoint stored; // pixels
        bool kept;
    };
    const Case cases[] = {
        {"inside", screen.topLeft() + QPoint(10, 20), true},
        {"only a corner on the screen", screen.bottomRight() - QPoint(40, 40), false},
        {"off every screen", QPoint(-10000, 60000), false},
    };
    for (const Case& c : cases) {
        store(QStringLiteral("frmConfig"), QStringLiteral("left"),
              QString::number(design::twips(c.stored.x())));
        store(QStringLiteral("frmConfig"), QStringLiteral("top"),
              QString::number(design::twips(c.stored.y())));
        EXPECT_EQ(open().pos(), c.kept ? c.stored : screen.topLeft()) << c.what;
        close();
    }
}

TEST_F(WindowTest, AHugeHistoryCountStillStartsAtOnce) {
    store(QStringLiteral("cbTextBottom"), QStringLiteral("ListCount"), QStringLiteral("2000000000"));
    store(QStringLiteral("cbTextBottom"), QStringLiteral("1"), QStringLiteral("newest"));
    QElapsedTimer timer;
    timer.start();
    open();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(templateBox("cbTextBottom")->count(), 1000);
    EXPECT_EQ(templateBox("cbTextBottom")->currentText(), QStringLiteral("newest"));
}

TEST_F(WindowTest, ALongerHistoryKeepsItsOldKeysUnread) {
    for (int i = 1; i <= 15; ++i)
        store(QStringLiteral("cbTextTop"), QString::number(i), QStringLiteral("t%1").arg(i));
    store(QStringLiteral("cbTextTop"), QStringLiteral("ListCount"), QStringLiteral("3"));
    open();
    EXPECT_EQ(templateBox("cbTextTop")->history(),
              (QStringList{QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("t3")}));
    close();
    EXPECT_EQ(stored(QStringLiteral("cbTextTop"), QStringLiteral("ListCount")), QStringLiteral("3"));
    EXPECT_EQ(stored(QStringLiteral("cbTextTop"), QStringLiteral("15")), QStringLiteral("t15"));
}

TEST_F(WindowTest, ATerminationSignalClosesTheWindowAndSavesItsSettings) {
    FrmConfig& window = open();
    control<QLineEdit>("txtWidth")->setText(QStringLiteral("9"));
    new CloseOnSignals(&window);
    ::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_EQ(stored(QStringLiteral("txtWidth"), QStringLiteral("text")), QStringLiteral("9"));
}

// The application name and settings file of this test's window.
QString appOfThisTest() {
    return QStringLiteral("tabulon-%1")
        .arg(QString::fromLatin1(testing::UnitTest::GetInstance()->current_test_info()->name()));
}
std::filesystem::path settingsFileOfThisTest() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tabulon"), appOfThisTest())
        .fileName()
        .toStdString();
}

// Removes a path at the end of a test, whatever happens in it: a FIFO left
// among the settings would block every later test.
struct RemovedAtEnd {
    std::filesystem::path path;
    ~RemovedAtEnd() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

TEST_F(WindowTest, ASettingsFileThatIsNoRegularFileIsLeftAloneAndNothingHangs) {
    namespace fs = std::filesystem;
    const fs::path file = settingsFileOfThisTest();
    const RemovedAtEnd removed{file};
    fs::create_directories(file.parent_path());
    const std::string fifo = files / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const test::FifoWatchdog watchdog(fifo);

    struct Kind {
        const char* name;
        std::function<void()> make;
        std::function<bool()> isStillThere;
    };
    const Kind kinds[] = {
        {"a FIFO", [&] { ::mkfifo(file.c_str(), 0600); },
         [&] { return fs::is_fifo(fs::symlink_status(file)); }},
        {"a link to a FIFO", [&] { fs::create_symlink(fifo, file); },
         [&] { return fs::is_symlink(file) && fs::is_fifo(fifo); }},
        {"a folder", [&] { fs::create_directory(file); }, [&] { return fs::is_directory(file); }},
    };
    for (const Kind& kind : kinds) {
        fs::remove_all(file);
        kind.make();
        ASSERT_TRUE(kind.isStillThere()) << kind.name;
        const test::FifoWatchdog fileWatchdog(file);
        open();
        EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), QStringLiteral("4")) << kind.name;
        control<QLineEdit>("txtWidth")->setText(QStringLiteral("9"));
        close();
        EXPECT_TRUE(kind.isStillThere()) << kind.name;
        EXPECT_FALSE(fileWatchdog.released()) << kind.name;
    }
    EXPECT_FALSE(watchdog.released());

    // What is written still reads back for the rest of the run.
    SettingsStore store(appOfThisTest());
    store.WriteSetting(QStringLiteral("cdSaveLoadConfig"), QStringLiteral("InitDir"), QStringLiteral("/d/"));
    store.sync();
    EXPECT_EQ(store.ReadSetting(QStringLiteral("cdSaveLoadConfig"), QStringLiteral("InitDir"), QString()),
              QStringLiteral("/d/"));
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(WindowTest, AFifoBesideTheSettingsFileIsNeverOpened) {
    namespace fs = std::filesystem;
    const fs::path file = settingsFileOfThisTest();
    // The organization-wide file that a QSettings made from names also reads.
    const fs::path shared = file.parent_path().parent_path() / "Tabulon.ini";
    const RemovedAtEnd removed{shared};
    ASSERT_EQ(::mkfifo(shared.c_str(), 0600), 0);
    const test::FifoWatchdog watchdog(shared);
    open();
    control<QLineEdit>("txtWidth")->setText(QStringLiteral("9"));
    close();
    EXPECT_NE(test::readAll(file).find("[txtWidth]\ntext=9\n"), std::string::npos);
    EXPECT_FALSE(watchdog.released());
}

TEST(SetUpRun, ASettingsFileThatIsAFifoIsReportedAndLeftAlone) {
    const test::TempDir home;
    std::filesystem::create_directory(home / "Tabulon");
    const std::string file = home / "Tabulon/tabulon.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const test::FifoWatchdog watchdog(file);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.path().string()));
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(TABULON_WINDOW), {QStringLiteral("/setupregistry")});
    ASSERT_TRUE(run.waitForFinished(20000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(run.readAllStandardError()),
              QStringLiteral("tabulon: %1 is not a regular file; settings are neither read nor saved\n")
                  .arg(QString::fromStdString(file)));
    EXPECT_TRUE(std::filesystem::is_fifo(file));
    EXPECT_FALSE(watchdog.released());
}

} // namespace
} // namespace tabulon
