#include "canvas/stubs.h"

#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace ry {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

TEST(PlaceStub, HangsFromTheBottomRightOfItsBoxAndEndsAtItsTag) {
    const Rect box{40, 340, kBoxWidth, kLongBoxHeight};
    const Stub s = PlaceStub(box, 0, {20, 13}, {90, 14});
    EXPECT_EQ(s.Line[0], (Point{183, 409})); // on the bottom edge
    EXPECT_EQ(s.Line[1], (Point{183, 429}));
    EXPECT_EQ(s.Line[2], (Point{209, 429})); // long enough for the label
    EXPECT_EQ(s.Label, (Rect{186, 415, 20, 13}));
    EXPECT_EQ(s.Tag, (Rect{209, 422, 90, 14}));
    EXPECT_EQ(s.Bounds(), (Rect{183, 409, 116, 27}));
    // A short label still leaves a visible run; no label, no label rectangle.
    const Stub bare = PlaceStub(box, 0, {}, {90, 14});
    EXPECT_EQ(bare.Line[2].x - bare.Line[1].x, 12);
    EXPECT_EQ(bare.Label, Rect{});
}

TEST(PlaceStub, StubsOfOneBoxKeepApart) {
    const Size labels[] = {{0, 0}, {30, 13}, {30, 20}};
    for (int height : {kShortBoxHeight, kLongBoxHeight})
        for (Size label : labels) {
            const Rect box{0, 0, kBoxWidth, height};
            std::vector<Rect> painted;
            for (int i = 0; i < 4; ++i) {
                const Stub s = PlaceStub(box, i, label, {80, 14});
                for (const Rect& r : {s.Label, s.Tag}) {
                    EXPECT_FALSE(Intersects(r, box));
                    for (const Rect& before : painted)
                        EXPECT_FALSE(Intersects(r, before)) << "stub " << i;
                }
                painted.push_back(s.Label);
                painted.push_back(s.Tag);
            }
        }
}

} // namespace
} // namespace ry
