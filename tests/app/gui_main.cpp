// Headless: the offscreen platform, a private runtime folder, the window's font.
#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/stand_in_opener.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const tabulon::test::TempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const tabulon::test::TempDir settings;
    // Every test's settings live here, never in the user's own.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settings.path()));
    ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1);

    const tabulon::test::StandInOpener opener;

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tabulon::ApplyWindowFont(app);
    return RUN_ALL_TESTS();
}
