#include "canvas/print_pages.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

// A 600-dpi printer: 6.25 device pixels show one drawing pixel at its size on screen. The
// printable part of an A4 page below the header is about 4700 by 6700 device pixels.
constexpr double kScreen = 600.0 / 96.0;
constexpr double kPageWidth = 4700;
constexpr double kPageHeight = 6700;

TEST(LayOutPrint, KeepsASmallDrawingAtItsSizeOnScreen) {
    const PrintLayout l = LayOutPrint({100, 50, 500, 400}, kPageWidth, kPageHeight, kScreen);
    EXPECT_DOUBLE_EQ(l.Scale, kScreen);
    ASSERT_EQ(l.Pages.size(), 1u);
    EXPECT_DOUBLE_EQ(l.Pages[0].Area.Left, 100);
    EXPECT_DOUBLE_EQ(l.Pages[0].Area.Width, 500);
}

TEST(LayOutPrint, ShrinksOntoOnePageWhileReadableThenSpreads) {
    struct Case {
        double width, height;
        int columns, rows;
        double minScale, maxScale; // as parts of the size on screen
    } cases[] = {
        {800, 1000, 1, 1, 0.9, 1.0},   // a little too tall: shrunk onto one page
        {1400, 600, 2, 1, 0.75, 1.0},  // too wide to stay readable on one: two columns
        {2000, 2000, 2, 2, 0.75, 1.0}, // the whole default canvas: four pages
        {700, 4000, 1, 3, 0.75, 1.0},  // a long column of boxes: pages one below the other
    };
    for (const Case& c : cases) {
        const PrintArea drawing{0, 0, c.width, c.height};
        const PrintLayout l = LayOutPrint(drawing, kPageWidth, kPageHeight, kScreen);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(l.Columns, c.columns);
        EXPECT_EQ(l.Rows, c.rows);
        ASSERT_EQ(l.Pages.size(), static_cast<size_t>(c.columns * c.rows));
        EXPECT_GE(l.Scale, kScreen * c.minScale - 1e-9);
        EXPECT_LE(l.Scale, kScreen * c.maxScale + 1e-9);
        // Every page's part fits the page, and the parts cover the drawing edge to edge.
        double coveredWidth = 0, coveredHeight = 0;
        for (const PrintPage& p : l.Pages) {
            EXPECT_LE(p.Area.Width * l.Scale, kPageWidth + 1e-6);
            EXPECT_LE(p.Area.Height * l.Scale, kPageHeight + 1e-6);
            EXPECT_GT(p.Area.Width, 0);
            EXPECT_GT(p.Area.Height, 0);
            if (p.Row == 0)
                coveredWidth += p.Area.Width;
            if (p.Column == 0)
                coveredHeight += p.Area.Height;
        }
        EXPECT_NEAR(coveredWidth, c.width, 1e-6);
        EXPECT_NEAR(coveredHeight, c.height, 1e-6);
    }
}

TEST(LayOutPrint, ReadsRowByRowLeftToRight) {
    const PrintLayout l = LayOutPrint({10, 20, 2000, 2000}, kPageWidth, kPageHeight, kScreen);
    ASSERT_EQ(l.Pages.size(), 4u);
    EXPECT_EQ(l.Pages[1].Column, 1);
    EXPECT_EQ(l.Pages[1].Row, 0);
    EXPECT_EQ(l.Pages[2].Column, 0);
    EXPECT_EQ(l.Pages[2].Row, 1);
    EXPECT_DOUBLE_EQ(l.Pages[0].Area.Left, 10);
    EXPECT_DOUBLE_EQ(l.Pages[0].Area.Top, 20);
    EXPECT_DOUBLE_EQ(l.Pages[1].Area.Left, 10 + kPageWidth / l.Scale);
}

TEST(LayOutPrint, AnEmptyDrawingOrPageGivesOnePage) {
    EXPECT_EQ(LayOutPrint({0, 0, 0, 0}, kPageWidth, kPageHeight, kScreen).Pages.size(), 1u);
    EXPECT_EQ(LayOutPrint({0, 0, 500, 500}, 0, kPageHeight, kScreen).Pages.size(), 1u);
}

} // namespace
} // namespace ry

namespace ry {
namespace {

TEST(FitsLandscapeBetter, TurnsThePageForAWideDrawingOnly) {
    // A portrait page of 800 by 1100 device pixels, one device pixel per drawing pixel.
    struct Case {
        const char* what;
        PrintArea drawing;
        bool landscape;
    };
    const Case cases[] = {
        {"small: one page either way, at full size", {0, 0, 300, 200}, false},
        {"wide: at full size on a landscape page, shrunk on a portrait one",
         {0, 0, 1050, 400},
         true},
        {"wider: one landscape page instead of two portrait ones", {0, 0, 1300, 500}, true},
        {"tall", {0, 0, 500, 1300}, false},
        {"wide, many pages either way: fewer landscape ones", {0, 0, 6000, 900}, true},
        {"empty", {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitsLandscapeBetter(c.drawing, 800, 1100, 40, 1.0), c.landscape) << c.what;
}

} // namespace
} // namespace ry
