#include "paths/produced_triggers.h"

#include "script/module_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ry {
namespace {

// The triggers of the box menu's path commands, in menu order.
const std::vector<std::string_view> kMenuTriggers = {
    "1", "2", "3", "4",       "5",    "6",       "7",    "8",    "9",
    "0", "*", "#", "success", "fail", "timeout", "true", "false"};

// The menu's triggers a type takes, as one string of their marks in menu order ("-" for one it
// never takes), so that a row of the table reads like the menu.
std::string Taken(std::string_view type) {
    std::string marks;
    for (std::string_view trigger : kMenuTriggers)
        marks += TypeProducesTrigger(type, trigger) ? "x" : "-";
    return marks;
}

TEST(ProducedTriggers, EachTypeTakesTheMenuTriggersItCanProduce) {
    struct Case {
        std::string_view type;
        std::string_view marks; // 1..9 0 * # | success fail timeout | true false
    };
    const Case cases[] = {
        {kTypePlay, "xxxxxxxxxxxx--x--"},
        {kTypeRecord, "xxxxxxxxxxxx--x--"},
        {kTypeSayNumbers, "xxxxxxxxxxxxxxx--"},
        // Any keys the caller may enter, as its exact number.
        {kTypeGetNumbers, "xxxxxxxxxxxxxxx--"},
        {kTypeRunProgram, "------------xxx--"},
        {kTypeDatabaseQuery, "------------xxx--"},
        {kTypeSendEmail, "------------xxx--"},
        {kTypeTransferCall, "------------xxx--"},
        {kTypeRunVbScript, "------------xxx--"},
        {kTypeDde, "------------xxx--"},
        {kTypePhoneMessage, "------------xx---"},
        {kTypeMakeCallOld, "------------xx---"},
        {kTypePagerMessage, "------------xx---"},
        {kTypeDialAndConference, "--------------x--"},
        {kTypeTimeSwitch, "---------------xx"},
        // A result value may be anything, true and false among them.
        {kTypeEvaluate, "xxxxxxxxxxxxxxxxx"},
        {kTypeHangup, "-----------------"},
        // Triggers typed freely: nothing is known to be impossible.
        {kTypeTts, "xxxxxxxxxxxxxxxxx"},
        {"No Such Type", "xxxxxxxxxxxxxxxxx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Taken(c.type), c.marks) << c.type;
}

TEST(ProducedTriggers, TriggersAreReadAsPathsWriteThem) {
    struct Case {
        std::string_view type;
        std::string_view trigger;
        bool taken;
    };
    const Case cases[] = {
        {kTypeTimeSwitch, " TRUE ", true},      {kTypeTimeSwitch, "Insert Result Here", false},
        {kTypePlay, "timeout 5", true},         {kTypePlay, "timeout five", false},
        {kTypeGetNumbers, "1234#", true},       {kTypeGetNumbers, "12a", false},
        {kTypeDialAndConference, "Busy", true}, {kTypeDialAndConference, "success", false},
        {kTypeSayNumbers, "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypeProducesTrigger(c.type, c.trigger), c.taken) << c.type << " " << c.trigger;
}

} // namespace
} // namespace ry
