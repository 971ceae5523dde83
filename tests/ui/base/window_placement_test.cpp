// Windows restored where the screen can show them.

#include "base/window_placement.h"

#include <gtest/gtest.h>

namespace ry::test {
namespace {

TEST(FitOnScreen, ARestoredWindowIsNeverLargerThanTheScreenNorOffIt) {
    const QRect screen(0, 0, 1600, 1000);
    struct Case {
        const char* name;
        QRect stored;
        QRect fitted;
    };
    const Case cases[] = {
        {"fits", {100, 50, 800, 600}, {100, 50, 800, 600}},
        // Stored at scale 1 on 3200x2000 pixels, restored at scale 2.
        {"larger than the screen", {40, 30, 2560, 1600}, {0, 0, 1600, 1000}},
        {"off the right and bottom", {1200, 800, 800, 600}, {800, 400, 800, 600}},
        {"off the left and top", {-300, -50, 800, 600}, {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitOnScreen(c.stored, screen), c.fitted);
    }
    // A second screen to the right keeps its own coordinates.
    EXPECT_EQ(FitOnScreen({1700, 100, 2000, 600}, {1600, 0, 1920, 1080}),
              QRect(1600, 100, 1920, 600));
}

TEST(OffsetPlace, AWindowOpensOneStepFromThePreviousAndStartsOverAtTheBottom) {
    const QRect screen(0, 0, 1600, 1000);
    const QSize size(500, 400);
    struct Case {
        const char* name;
        QRect previous;
        QPoint place;
    };
    const Case cases[] = {
        {"room below and right", {300, 200, 500, 400}, {330, 230}},
        {"just fits", {1070, 570, 500, 400}, {1100, 600}},
        {"past the right edge", {1080, 100, 500, 400}, {1100, 130}},
        {"past the bottom", {100, 580, 500, 400}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OffsetPlace(c.previous, size, screen, 30), c.place);
    }
    // Wider than the screen: only the step down keeps the caption in sight.
    EXPECT_EQ(OffsetPlace({0, 100, 1700, 400}, {1700, 400}, screen, 30), QPoint(0, 130));
    EXPECT_EQ(OffsetPlace({1700, 580, 500, 400}, size, {1600, 0, 1920, 1080}, 30),
              QPoint(1730, 610));
    EXPECT_EQ(OffsetPlace({1700, 700, 500, 400}, size, {1600, 40, 1920, 1040}, 30),
              QPoint(1600, 40));
}

} // namespace
} // namespace ry::test
