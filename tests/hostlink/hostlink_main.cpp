// One private bus for the whole test program, started before anything asks
// for the session bus: a dbus-daemon child, stopped at the end.
#include <cstdio>

#include <QApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/headless.h"

int main(int argc, char** argv) {
    const tabulon::test::Headless headless;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tabulon::applyWindowFont(app);
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!bus.waitForStarted(5000) || !bus.waitForReadyRead(5000)) {
        std::fprintf(stderr, "could not start dbus-daemon\n");
        return 1;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    const int failed = RUN_ALL_TESTS();
    bus.terminate();
    bus.waitForFinished(5000);
    return failed;
}
