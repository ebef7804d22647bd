#include <QApplication>
#include <gtest/gtest.h>

#include "app/start.h"
#include "support/headless.h"

int main(int argc, char** argv) {
    const tabulon::test::Headless headless;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tabulon::applyWindowFont(app);
    return RUN_ALL_TESTS();
}
