#include "paths/link_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ry {
namespace {

// Links 0 and 2 lead to Sales, 1 to Menu (with assignments), 3 to Sales by a gosub.
const std::string kText = "on {1} goto [Sales]\r\n"
                          "on {2} goto [Menu] rvset\r\n"
                          "[a]{1}\r\n"
                          "[b]{2}\r\n"
                          "on {3} goto [Sales]\r\n"
                          "on {4} gosub [Sales] return [Menu]\r\n";

struct Case {
    const char* name;
    std::string text;
    std::vector<int> links;
    std::string expected;
};

TEST(RemoveLinks, DropsEachPathWithTheLinesThatContinueIt) {
    const Case cases[] = {
        {"none", kText, {}, kText},
        {"first and third",
         kText,
         {0, 2},
         "on {2} goto [Menu] rvset\r\n[a]{1}\r\n[b]{2}\r\non {4} gosub [Sales] return [Menu]\r\n"},
        {"with its assignments",
         kText,
         {1},
         "on {1} goto [Sales]\r\non {3} goto [Sales]\r\non {4} gosub [Sales] return [Menu]\r\n"},
        {"the last, without a line end",
         "on {1} goto [A]\r\non {2} goto [B]",
         {1},
         "on {1} goto [A]\r\n"},
        {"a link the text does not have", kText, {9}, kText},
        {"any letter case, other lines kept",
         "; note\r\nON {1} GOTO [A]\r\nrandom\r\n",
         {0},
         "; note\r\nrandom\r\n"},
        {"every path", kText, {0, 1, 2, 3}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RemoveLinks(c.text, c.links), c.expected);
    }
}

TEST(RetargetLinks, ChangesOnlyTheDestinationsOfTheLinksGiven) {
    const Case cases[] = {
        {"goto and gosub; the return stays",
         kText,
         {0, 2, 3},
         "on {1} goto [Billing Desk]\r\non {2} goto [Menu] rvset\r\n[a]{1}\r\n[b]{2}\r\n"
         "on {3} goto [Billing Desk]\r\non {4} gosub [Billing Desk] return [Menu]\r\n"},
        {"none", kText, {}, kText},
        {"a link without a destination",
         "on {1} goto\r\non {2} goto [A]\r\n",
         {0, 1},
         "on {1} goto\r\non {2} goto [Billing Desk]\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RetargetLinks(c.text, c.links, "Billing Desk"), c.expected);
    }
}

} // namespace
} // namespace ry
