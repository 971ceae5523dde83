#include "paths/path_line.h"

#include "paths/path_text.h"
#include "script/module_types.h"

#include <gtest/gtest.h>

namespace ry {
namespace {

using Captions = std::vector<std::string_view>;

TEST(TriggerCaptions, ByModuleType) {
    const Captions digits = {"Digit 1", "Digit 2", "Digit 3", "Digit 4", "Digit 5", "Digit 6",
                             "Digit 7", "Digit 8", "Digit 9", "Digit 0", "Digit *", "Digit #"};
    Captions play = digits;
    play.push_back("Timeout");
    Captions say = digits;
    say.insert(say.end(), {"Success", "Fail", "Timeout"});
    EXPECT_EQ(TriggerCaptions(kTypePlay), play);
    EXPECT_EQ(TriggerCaptions(kTypeRecord), play);
    EXPECT_EQ(TriggerCaptions(kTypeSayNumbers), say);
    EXPECT_EQ(TriggerCaptions(kTypeGetNumbers),
              (Captions{"Success", "Fail", "Timeout", "Digit *", "exact_number"}));
    EXPECT_EQ(TriggerCaptions(kTypeDde), (Captions{"Success", "Fail", "Timeout"}));
    EXPECT_EQ(TriggerCaptions(kTypePagerMessage), (Captions{"Success", "Fail"}));
    EXPECT_EQ(TriggerCaptions(kTypeTimeSwitch), (Captions{"True", "False", "Insert Result Here"}));
    EXPECT_EQ(TriggerCaptions(kTypeDialAndConference).front(), "Call End");
    EXPECT_TRUE(TriggerCaptions(kTypeHangup).empty());
    EXPECT_TRUE(TriggerCaptions(kTypeTts).empty());
    EXPECT_TRUE(TriggerCaptions("play").empty()); // type names are exact
}

TEST(BuildPathLine, FromThePanelsFields) {
    struct Case {
        PathLineFields fields;
        const char* line;
        const char* timeout;
    } cases[] = {
        {{"Digit 5", "", "Main", ""}, "on {5} goto [Main]", ""},
        {{"TIMEOUT", "", "Main", ""}, "on {timeout 0} goto [Main]", "0"},
        {{"Timeout", " 12 ", "Main", ""}, "on {timeout 12} goto [Main]", " 12 "},
        {{"Digit 1", "", "Voicemail Box", " 200 "}, "on {1} goto [Voicemail Box 200]", ""},
        {{"Success", "", "Voicemail Retrieve", ""}, "on {success} goto [Voicemail Retrieve]", ""},
        {{"Busy", "", "Main", ""}, "on {Busy} goto [Main]", ""},
        {{"NoNumbers", "", "Main", ""}, "on {nonumbers} goto [Main]", ""},
        {{"", "", "Main", ""}, "on {} goto [Main]", ""},
    };
    for (const Case& c : cases) {
        const PathLine built = BuildPathLine(c.fields);
        EXPECT_EQ(built.Missing, PathLine::Problem::None) << c.line;
        EXPECT_EQ(built.Line, c.line);
        EXPECT_EQ(built.Timeout, c.timeout) << c.line;
    }
}

TEST(BuildPathLine, SaysWhatIsMissing) {
    EXPECT_EQ(BuildPathLine({"Digit 1", "", "", ""}).Missing, PathLine::Problem::NoDestination);
    const PathLine noBox = BuildPathLine({"Digit 1", "", "Voicemail Box", "  "});
    EXPECT_EQ(noBox.Missing, PathLine::Problem::NoBoxNumber);
    EXPECT_TRUE(noBox.Line.empty());
}

TEST(AppendPathLine, AlwaysStartsANewLine) {
    EXPECT_EQ(AppendPathLine("", "on {1} goto [A]"), "on {1} goto [A]\r\n");
    EXPECT_EQ(AppendPathLine("on {1} goto [A]\r\n", "on {1} goto [A]"),
              "on {1} goto [A]\r\non {1} goto [A]\r\n");
    // A last line typed without a line end would otherwise swallow the new path.
    const std::string text = AppendPathLine("on {1} goto [A]", "on {2} goto [B]");
    EXPECT_EQ(TidyPathsText(text), "on {1} goto [A]\r\non {2} goto [B]\r\n");
}

TEST(RenameInPathText, RenamesEveryBracketedTitle) {
    EXPECT_EQ(RenameInPathText("on {1} goto [Main]\r\non {2} gosub [Main] return [Main 2]\r\n",
                               "Main", "Sales 1"),
              "on {1} goto [Sales 1]\r\non {2} gosub [Sales 1] return [Main 2]\r\n");
    EXPECT_EQ(RenameInPathText("on {1} goto [main]\r\n", "Main", "X"), "on {1} goto [main]\r\n");
}

TEST(RenameInPathText, FollowsTheStoredTextsRuleAndAlwaysEnds) {
    const struct {
        const char* text;
        const char* old;
        const char* title;
        const char* renamed;
    } cases[] = {
        // Equal titles: nothing to replace, and no end to replacing "[Main]" by itself.
        {"on {1} goto [Main]\r\n", "Main", "Main", "on {1} goto [Main]\r\n"},
        // A title holding "[": replacements that meet again are replaced until none is left.
        {"on {1} goto [a[a[b]]\r\n", "a[b", "b", "on {1} goto [b]]\r\n"},
        {"[x]] [x]]", "x]", "y", "[y] [y]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenameInPathText(c.text, c.old, c.title), c.renamed) << c.text;

    constexpr int kLevels = 1'000'000;
    std::string nested;
    for (int i = 0; i < kLevels; ++i)
        nested += "[a";
    // Compared whole rather than printed: a failure would show megabytes.
    EXPECT_TRUE(RenameInPathText(nested + "[b]" + std::string(kLevels, ']'), "a[b", "b") ==
                "[b]" + std::string(kLevels, ']'));
}

} // namespace
} // namespace ry
