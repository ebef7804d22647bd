// One private bus for the whole test program, started before anything asks
// for the session bus.
#include <cstdio>

#include <QApplication>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/headless.h"
#include "support/private_bus.h"

int main(int argc, char** argv) {
    const tabulon::test::Headless headless;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tabulon::applyWindowFont(app);
    const tabulon::test::PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::fprintf(stderr, "could not start dbus-daemon\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
