#include <filesystem>

#include <QElapsedTimer>
#include <gmock/gmock.h>
#include <sys/stat.h>

#include "app/design.h"
#include "support/captured_stderr.h"
#include "support/fifo_watchdog.h"

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, WhatTheUserLeftIsThereAtTheNextStart) {
    FrmConfig& first = open();
    select({u"/p/a.jpg"_s});
    templateBox("cbTextNewEntry")->setEditText(u"<li>{{BASE}}</li>"_s);
    click("cmdGo");
    templateBox("cbTextNewEntry")->setEditText(u"typed, never used"_s);
    control<QLineEdit>("txtWidth")->setText(u"7"_s);
    control<QCheckBox>("chkAddComments")->setCheckState(Qt::Unchecked);
    first.move(40, 30);
    close();

    FrmConfig& second = open();
    EXPECT_EQ(second.pos(), QPoint(40, 30));
    EXPECT_EQ(templateBox("cbTextNewEntry")->history(), QStringList{u"<li>{{BASE}}</li>"_s});
    EXPECT_EQ(templateBox("cbTextNewEntry")->currentText(), u"<li>{{BASE}}</li>"_s);
    EXPECT_EQ(templateBox("cbTextTop")->history(), QStringList{u"<table border=\"0\"><tr>{{CRLF}}"_s});
    EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), u"7"_s);
    EXPECT_EQ(control<QCheckBox>("chkAddComments")->checkState(), Qt::Unchecked);
}

// Values no number, or out of all measure: defaults, at once; a history
// count is read no further than it says.
TEST_F(WindowTest, StoredValuesOutOfTheOrdinaryReadSafely) {
    store(u"frmConfig"_s, u"top"_s, u"high"_s);
    store(u"frmConfig"_s, u"left"_s, u"150"_s);
    store(u"chkAddComments"_s, u"value"_s, u"seven"_s);
    store(u"cbTextNewRow"_s, u"ListCount"_s, u"many"_s);
    store(u"cbTextBottom"_s, u"ListCount"_s, u"2000000000"_s);
    store(u"cbTextBottom"_s, u"1"_s, u"newest"_s);
    for (int i = 1; i <= 15; ++i)
        store(u"cbTextTop"_s, QString::number(i), u"t%1"_s.arg(i));
    store(u"cbTextTop"_s, u"ListCount"_s, u"3"_s);
    QElapsedTimer timer;
    timer.start();
    FrmConfig& window = open();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(window.pos(), QPoint(10, 0));
    EXPECT_EQ(control<QCheckBox>("chkAddComments")->checkState(), Qt::Checked);
    EXPECT_EQ(templateBox("cbTextNewRow")->count(), 0);
    EXPECT_EQ(templateBox("cbTextBottom")->count(), 1000);
    EXPECT_EQ(templateBox("cbTextBottom")->currentText(), u"newest"_s);
    EXPECT_EQ(templateBox("cbTextTop")->history(), (QStringList{u"t1"_s, u"t2"_s, u"t3"_s}));
    close();
    EXPECT_EQ(stored(u"cbTextTop"_s, u"ListCount"_s), u"3"_s);
    EXPECT_EQ(stored(u"cbTextTop"_s, u"15"_s), u"t15"_s);
}

TEST_F(WindowTest, AGrayedCheckBoxComesBackGrayedAndAClickMakesItPlain) {
    store(u"chkAddComments"_s, u"value"_s, u"2"_s);
    open();
    auto* check = control<QCheckBox>("chkAddComments");
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
    for (const Qt::CheckState expected : {Qt::Checked, Qt::Unchecked, Qt::Checked}) {
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_EQ(check->checkState(), expected);
    }
}

// Which places count as reachable is window_place's: here, that the window asks.
TEST_F(WindowTest, APlaceTheUserCouldNotReachOpensOnThePrimaryScreen) {
    store(u"frmConfig"_s, u"left"_s, QString::number(design::twips(-10000)));
    store(u"frmConfig"_s, u"top"_s, QString::number(design::twips(60000)));
    EXPECT_EQ(open().pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
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

TEST_F(WindowTest, ASettingsFileThatIsNoRegularFileIsReportedAndLeftAlone) {
    namespace fs = std::filesystem;
    const fs::path file = settingsFile();
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
        test::CapturedStderr err;
        open();
        EXPECT_THAT(err.take(),
                    testing::HasSubstr(file.string() +
                                       " is not a regular file; settings are neither read nor saved\n"))
            << kind.name;
        EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), u"4"_s) << kind.name;
        control<QLineEdit>("txtWidth")->setText(u"9"_s);
        close();
        EXPECT_TRUE(kind.isStillThere()) << kind.name;
        EXPECT_FALSE(fileWatchdog.released()) << kind.name;
    }
    EXPECT_FALSE(watchdog.released());

    // What is written still reads back for the rest of the run.
    SettingsStore store(appName());
    store.WriteSetting(u"cdSaveLoadConfig"_s, u"InitDir"_s, u"/d/"_s);
    store.sync();
    EXPECT_EQ(store.ReadSetting(u"cdSaveLoadConfig"_s, u"InitDir"_s, QString()), u"/d/"_s);
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(WindowTest, AFifoBesideTheSettingsFileIsNeverOpened) {
    namespace fs = std::filesystem;
    const fs::path file = settingsFile();
    // The organization-wide file that a QSettings made from names also reads.
    const fs::path shared = file.parent_path().parent_path() / "Tabulon.ini";
    const RemovedAtEnd removed{shared};
    ASSERT_EQ(::mkfifo(shared.c_str(), 0600), 0);
    const test::FifoWatchdog watchdog(shared);
    open();
    control<QLineEdit>("txtWidth")->setText(u"9"_s);
    close();
    EXPECT_NE(test::readAll(file).find("[txtWidth]\ntext=9\n"), std::string::npos);
    EXPECT_FALSE(watchdog.released());
}

} // namespace
} // namespace tabulon
