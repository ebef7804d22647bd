#include <csignal>

#include <QElapsedTimer>

#include "app/close_signals.h"
#include "app/design.h"

#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, WhatTheUserLeftIsThereAtTheNextStart) {
    FrmConfig& first = Open();
    dialogs.fileChoices.push_back({{QStringLiteral("/p/a.jpg")}, 1});
    Click("cmdBrowseForFiles");
    Box("cbTextNewEntry")->setEditText(QStringLiteral("<li>{{BASE}}</li>"));
    Click("cmdGo");
    Box("cbTextNewEntry")->setEditText(QStringLiteral("typed, never used"));
    Control<QLineEdit>("txtWidth")->setText(QStringLiteral("7"));
    Control<QCheckBox>("chkAddComments")->setCheckState(Qt::Unchecked);
    first.move(40, 30);
    Close();

    EXPECT_EQ(Stored(QStringLiteral("cbTextNewEntry"), QStringLiteral("ListCount")), QStringLiteral("1"));
    EXPECT_EQ(Stored(QStringLiteral("frmConfig"), QStringLiteral("left")), QStringLiteral("600"));
    EXPECT_EQ(Stored(QStringLiteral("frmConfig"), QStringLiteral("top")), QStringLiteral("450"));

    FrmConfig& second = Open();
    EXPECT_EQ(second.pos(), QPoint(40, 30));
    EXPECT_EQ(Box("cbTextNewEntry")->history(), QStringList{QStringLiteral("<li>{{BASE}}</li>")});
    EXPECT_EQ(Box("cbTextNewEntry")->currentText(), QStringLiteral("<li>{{BASE}}</li>"));
    EXPECT_EQ(Box("cbTextTop")->history(), QStringList{QStringLiteral("<table border=\"0\"><tr>{{CRLF}}")});
    EXPECT_EQ(Control<QLineEdit>("txtWidth")->text(), QStringLiteral("7"));
    EXPECT_EQ(Control<QCheckBox>("chkAddComments")->checkState(), Qt::Unchecked);
}

TEST_F(WindowTest, StoredValuesThatAreNoNumbersReadAsTheirDefaults) {
    Store(QStringLiteral("frmConfig"), QStringLiteral("top"), QStringLiteral("high"));
    Store(QStringLiteral("frmConfig"), QStringLiteral("left"), QStringLiteral("150"));
    Store(QStringLiteral("chkAddComments"), QStringLiteral("value"), QStringLiteral("seven"));
    Store(QStringLiteral("cbTextTop"), QStringLiteral("ListCount"), QStringLiteral("many"));
    FrmConfig& window = Open();
    EXPECT_EQ(window.pos(), QPoint(10, 0));
    EXPECT_EQ(Control<QCheckBox>("chkAddComments")->checkState(), Qt::Checked);
    EXPECT_EQ(Box("cbTextTop")->count(), 0);
}

TEST_F(WindowTest, AGrayedCheckBoxComesBackGrayedAndAClickMakesItPlain) {
    Store(QStringLiteral("chkAddComments"), QStringLiteral("value"), QStringLiteral("2"));
    Open();
    auto* check = Control<QCheckBox>("chkAddComments");
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
        Store(QStringLiteral("frmConfig"), QStringLiteral("left"),
              QString::number(design::Twips(c.stored.x())));
        Store(QStringLiteral("frmConfig"), QStringLiteral("top"),
              QString::number(design::Twips(c.stored.y())));
        EXPECT_EQ(Open().pos(), c.kept ? c.stored : screen.topLeft()) << c.what;
        Close();
    }
}

TEST_F(WindowTest, AHugeHistoryCountStillStartsAtOnce) {
    Store(QStringLiteral("cbTextBottom"), QStringLiteral("ListCount"), QStringLiteral("2000000000"));
    Store(QStringLiteral("cbTextBottom"), QStringLiteral("1"), QStringLiteral("newest"));
    QElapsedTimer timer;
    timer.start();
    Open();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(Box("cbTextBottom")->count(), 1000);
    EXPECT_EQ(Box("cbTextBottom")->currentText(), QStringLiteral("newest"));
}

TEST_F(WindowTest, ALongerHistoryKeepsItsOldKeysUnread) {
    for (int i = 1; i <= 15; ++i)
        Store(QStringLiteral("cbTextTop"), QString::number(i), QStringLiteral("t%1").arg(i));
    Store(QStringLiteral("cbTextTop"), QStringLiteral("ListCount"), QStringLiteral("3"));
    Open();
    EXPECT_EQ(Box("cbTextTop")->history(),
              (QStringList{QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("t3")}));
    Close();
    EXPECT_EQ(Stored(QStringLiteral("cbTextTop"), QStringLiteral("ListCount")), QStringLiteral("3"));
    EXPECT_EQ(Stored(QStringLiteral("cbTextTop"), QStringLiteral("15")), QStringLiteral("t15"));
}

TEST_F(WindowTest, ATerminationSignalClosesTheWindowAndSavesItsSettings) {
    FrmConfig& window = Open();
    Control<QLineEdit>("txtWidth")->setText(QStringLiteral("9"));
    new CloseOnSignals(&window);
    ::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_EQ(Stored(QStringLiteral("txtWidth"), QStringLiteral("text")), QStringLiteral("9"));
}

} // namespace
} // namespace tabulon
