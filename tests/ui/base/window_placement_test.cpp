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

} // namespace
} // namespace ry::test
