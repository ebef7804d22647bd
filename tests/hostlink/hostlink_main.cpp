// One private bus for the whole test program, started before anything asks
// for the session bus; the offscreen platform for the window.
#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/private_bus.h"
#include "support/stand_in_opener.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const tabulon::test::TempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const tabulon::test::TempDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settings.path()));
    ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1);

    const tabulon::test::StandInOpener opener;

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tabulon::ApplyWindowFont(app);
    const tabulon::test::PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::fprintf(stderr, "could not start dbus-daemon\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
