#include <gtest/gtest.h>

#include "app/window_place.h"

namespace tabulon {
namespace {

TEST(WindowPlace, AWindowIsKeptWhereItsTitleBarAndAQuarterOfItCanBeReached) {
    const QSize size(723, 320);
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    struct Case {
        const char* what;
        QPoint stored;
        QList<QRect> areas;
        bool kept;
    };
    const Case cases[] = {
        {"well inside", {100, 100}, {left}, true},
        {"a third off the left edge", {-241, 100}, {left}, true},
        {"only a corner on the screen", {1870, 1030}, {left}, false},
        {"the title bar above the screen", {100, -20}, {left}, false},
        {"the title bar shown, less than a quarter", {100, 1030}, {left}, false},
        {"across two screens", {1559, 100}, {left, right}, true},
        {"a quarter only with both screens", {1559, 950}, {left, right}, true},
        {"a fifth, on two mirrored screens", {100, 1020}, {left, left}, false},
        {"off every screen", {-10000, 60000}, {left, right}, false},
        {"no screens at all", {100, 100}, {}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isReachable(QRect(c.stored, size), c.areas), c.kept) << c.what;
        EXPECT_EQ(reachablePlace(c.stored, size, c.areas, right), c.kept ? c.stored : right.topLeft())
            << c.what;
    }
}

TEST(WindowPlace, ARectIsFittedIntoAnAreaByTheLeastMove) {
    const QRect area(100, 50, 800, 600);
    struct Case {
        const char* what;
        QRect rect, fitted;
    };
    const Case cases[] = {
        {"inside", {200, 100, 640, 480}, {200, 100, 640, 480}},
        {"below the bottom", {200, 400, 640, 480}, {200, 170, 640, 480}},
        {"off the right and the top", {700, -30, 640, 480}, {260, 50, 640, 480}},
        {"off the left", {-900, 100, 640, 480}, {100, 100, 640, 480}},
        {"larger than the area", {0, 0, 1000, 700}, {100, 50, 800, 600}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fittedInto(c.rect, area), c.fitted) << c.what;
}

} // namespace
} // namespace tabulon
