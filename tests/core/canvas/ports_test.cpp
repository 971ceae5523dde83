#include "canvas/ports.h"

#include "canvas/around_boxes.h"
#include "canvas/box_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace ry {
namespace {

std::vector<Rect> LinesOf(const PortLead& lead) {
    return {SegmentPixels(lead.Line[0], lead.Line[1]), SegmentPixels(lead.Line[1], lead.Line[2])};
}

TEST(PlacePorts, EachPathLeavesFromItsOwnPortWithItsLabelOnItsOwnRun) {
    struct Case {
        const char* what;
        Rect box;
        std::vector<PortCargo> cargo;
    };
    const Size tag{90, 15};
    const Case cases[] = {
        {"one path", {40, 40, kBoxWidth, kLongBoxHeight}, {{{20, 13}, {}}}},
        {"a menu's keys and a timeout",
         {40, 40, kBoxWidth, kLongBoxHeight},
         {{{12, 13}, {}}, {{12, 13}, {}}, {{12, 13}, {}}, {{60, 13}, {}}}},
        {"paths ending in tags between connectors",
         {300, 10, kBoxWidth, kShortBoxHeight},
         {{{12, 13}, {}}, {{40, 13}, tag}, {{}, tag}, {{80, 13}, {}}}},
        {"many paths, ports closer together",
         {0, 0, kBoxWidth, kLongBoxHeight},
         std::vector<PortCargo>(40, PortCargo{{30, 13}, {}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PortLead> leads = PlacePorts(c.box, c.cargo);
        ASSERT_EQ(leads.size(), c.cargo.size());
        const int bottom = c.box.Top + c.box.Height, right = c.box.Left + c.box.Width;
        for (std::size_t k = 0; k < leads.size(); ++k) {
            SCOPED_TRACE("lead " + std::to_string(k));
            const PortLead& lead = leads[k];
            // Right from the right side, or down from the bottom edge inside the box's width
            // to a row below the box; then right.
            if (lead.Line[0].x == right) {
                EXPECT_EQ(lead.Line[1], lead.Line[0]);
                EXPECT_GT(lead.Line[0].y, c.box.Top);
                EXPECT_LT(lead.Line[0].y, bottom);
            } else {
                EXPECT_EQ(lead.Line[0].y, bottom);
                EXPECT_GT(lead.Line[0].x, c.box.Left);
                EXPECT_LT(lead.Line[0].x, right);
                EXPECT_EQ(lead.Line[1].x, lead.Line[0].x);
                EXPECT_GT(lead.Line[1].y, bottom);
            }
            EXPECT_EQ(lead.Line[2].y, lead.Line[1].y);
            EXPECT_GT(lead.Line[2].x, lead.Line[1].x);
            // The label just above its own run, over no line of the box's leads.
            if (c.cargo[k].label.Width > 0) {
                EXPECT_EQ(lead.Label.Top + lead.Label.Height, lead.Line[1].y - 1);
                EXPECT_GT(lead.Label.Left, lead.Line[1].x);
                EXPECT_LT(lead.Label.Left + lead.Label.Width, lead.Line[2].x);
            } else {
                EXPECT_EQ(lead.Label, Rect{});
            }
            // A tag at the run's end.
            if (c.cargo[k].tag.Width > 0) {
                EXPECT_EQ(lead.Tag.Left, lead.Line[2].x);
                EXPECT_LE(lead.Tag.Top, lead.Line[2].y);
                EXPECT_GT(lead.Tag.Top + lead.Tag.Height, lead.Line[2].y);
            }
            for (std::size_t o = 0; o < leads.size(); ++o) {
                if (o == k)
                    continue;
                // A later row starts no further right, lies lower and ends further left: no two
                // leads cross, and no path going on from a run's end meets a lower run.
                if (o > k) {
                    EXPECT_LE(leads[o].Line[0].x, lead.Line[0].x);
                    if (leads[o].Line[0].y == bottom && lead.Line[0].y == bottom) {
                        EXPECT_LT(leads[o].Line[0].x, lead.Line[0].x);
                    }
                    EXPECT_GT(leads[o].Line[1].y, lead.Line[1].y);
                    EXPECT_LT(leads[o].Line[2].x, lead.Line[2].x);
                }
                for (const Rect& line : LinesOf(leads[o])) {
                    EXPECT_FALSE(Intersects(line, lead.Label)) << "under the label of " << o;
                    EXPECT_FALSE(Intersects(line, lead.Tag)) << "under the tag of " << o;
                }
                EXPECT_FALSE(Intersects(lead.Label, leads[o].Label));
                EXPECT_FALSE(Intersects(lead.Label, leads[o].Tag));
                EXPECT_FALSE(Intersects(lead.Tag, leads[o].Tag));
            }
            EXPECT_FALSE(Intersects(lead.Label, c.box));
            EXPECT_FALSE(Intersects(lead.Tag, c.box));
        }
    }
}

TEST(PlacePorts, ABoxWithNoPathsHasNoLeads) {
    EXPECT_TRUE(PlacePorts({0, 0, kBoxWidth, kLongBoxHeight}, {}).empty());
}

TEST(PlacePorts, ALongBoxHoldsThreeRowsOnItsRightSideAShortOneOne) {
    const std::vector<PortCargo> four(4, PortCargo{{20, 13}, {}});
    auto onTheSide = [](const Rect& box, const std::vector<PortLead>& leads) {
        return std::count_if(leads.begin(), leads.end(), [&](const PortLead& l) {
            return l.Line[0].x == box.Left + box.Width;
        });
    };
    const Rect tall{0, 0, kBoxWidth, kLongBoxHeight}, low{0, 0, kBoxWidth, kShortBoxHeight};
    EXPECT_EQ(onTheSide(tall, PlacePorts(tall, four)), 3);
    EXPECT_EQ(onTheSide(low, PlacePorts(low, four)), 1);
}

} // namespace
} // namespace ry
