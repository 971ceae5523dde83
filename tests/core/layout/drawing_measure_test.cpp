#include "layout/drawing_measure.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

Polyline Line(std::vector<Point> points) {
    return {std::move(points), ArrowKind::South};
}

TEST(DrawingMeasure, CountsCrossingsAndBends) {
    struct Case {
        const char* name;
        std::vector<Polyline> routes;
        std::int64_t crossings;
        std::int64_t bends;
        int mostBends;
    };
    const Case cases[] = {
        {"a plus", {Line({{0, 10}, {20, 10}}), Line({{10, 0}, {10, 20}})}, 1, 0, 0},
        {"a T: one ends on the other",
         {Line({{0, 10}, {20, 10}}), Line({{10, 0}, {10, 10}})},
         0,
         0,
         0},
        {"meeting at an end",
         {Line({{0, 0}, {10, 0}, {10, 10}}), Line({{20, 0}, {10, 0}})},
         0,
         1,
         1},
        {"along each other", {Line({{0, 0}, {30, 0}}), Line({{10, 0}, {20, 0}})}, 0, 0, 0},
        {"a route over itself", {Line({{0, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 0}})}, 0, 3, 3},
        {"a comb over two drops",
         {Line({{0, 0}, {0, 10}, {100, 10}, {100, 50}}), Line({{30, 0}, {30, 40}}),
          Line({{60, 0}, {60, 40}})},
         2,
         2,
         2},
        {"sloping lines",
         {Line({{0, 0}, {10, 10}}), Line({{0, 10}, {10, 0}}), Line({{5, -5}, {5, 20}})},
         3,
         0,
         0},
        {"a straight run with a repeated point",
         {Line({{0, 0}, {0, 5}, {0, 5}, {0, 10}})},
         0,
         0,
         0},
        {"nothing", {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawingCounts counts = MeasureDrawing(c.routes);
        EXPECT_EQ(counts.crossings, c.crossings);
        EXPECT_EQ(counts.bends, c.bends);
        EXPECT_EQ(counts.mostBends, c.mostBends);
        EXPECT_EQ(counts.connectors, static_cast<int>(c.routes.size()));
    }
}

} // namespace
} // namespace ry
