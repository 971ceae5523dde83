#include "paths/rename.h"

#include <gtest/gtest.h>

#include <memory>

namespace ry {
namespace {

// One script whose modules "Menu", "Ask" and "Sales" lead to each other, and a second script
// that also has a path to a "Menu" of its own.
class RenameTest : public ::testing::Test {
protected:
    void SetUp() override {
        script = t->MemStructRys_Get();
        menu = Add(script, "Menu", "on {1} goto [Ask]\r\n");
        ask = Add(script, "Ask",
                  "on {1} goto [Menu]\r\non {2} goto [menu]\r\non {3} goto [Menu ]\r\n");
        sales = Add(script, "Sales", "on {t} gosub [Ask] return [Menu] rvset\r\n[Menu]{1}\r\n");
        t->Script(script).StartModule = "Menu";
        other = t->MemStructRys_Get();
        Add(other, "Menu", "on {1} goto [Menu]\r\n");
    }

    std::int16_t Add(std::int16_t s, const char* title, const char* paths) {
        std::int16_t m = t->MemStructRym_Get();
        AppendModuleToScript(*t, s, m);
        t->Module(m).Title = title;
        t->Module(m).PathText = paths;
        return m;
    }

    std::unique_ptr<ScriptTables> t = std::make_unique<ScriptTables>();
    std::int16_t script = 0, other = 0, menu = 0, ask = 0, sales = 0;
};

TEST_F(RenameTest, RenamesExactReferencesTheStartModuleAndTheModule) {
    TitleChange c = RenameModuleInPaths(*t, "Menu", "Main [Menu]", menu, script);

    EXPECT_TRUE(c.Renamed);
    EXPECT_EQ(c.Title, "Main Menu");
    EXPECT_EQ(t->Module(menu).Title, "Main Menu");
    EXPECT_EQ(t->Module(ask).PathText,
              "on {1} goto [Main Menu]\r\non {2} goto [menu]\r\non {3} goto [Menu ]\r\n")
        << "only the exact title in brackets is renamed";
    EXPECT_EQ(t->Module(sales).PathText,
              "on {t} gosub [Ask] return [Main Menu] rvset\r\n[Main Menu]{1}\r\n");
    EXPECT_EQ(t->Module(menu).PathText, "on {1} goto [Ask]\r\n");
    EXPECT_EQ(t->Script(script).StartModule, "Main Menu");
    EXPECT_TRUE(c.StartModuleRenamed);
    EXPECT_EQ(c.ChangedPaths, (std::vector<std::int16_t>{ask, sales}));

    EXPECT_EQ(t->Module(t->Script(other).FirstModule).PathText, "on {1} goto [Menu]\r\n")
        << "another script's paths are its own";
}

TEST_F(RenameTest, StartModuleFollowsOnlyItsExactTitle) {
    t->Script(script).StartModule = "menu";
    TitleChange c = RenameModuleInPaths(*t, "Menu", "Start", menu, script);
    EXPECT_TRUE(c.Renamed);
    EXPECT_FALSE(c.StartModuleRenamed);
    EXPECT_EQ(t->Script(script).StartModule, "menu");
}

TEST_F(RenameTest, CleanedTitleEqualToTheOldOneChangesNothing) {
    TitleChange c = RenameModuleInPaths(*t, "Menu", " <[Menu]> ", menu, script);
    EXPECT_FALSE(c.Renamed);
    EXPECT_EQ(c.Title, "Menu");
    EXPECT_TRUE(c.ChangedPaths.empty());
    EXPECT_EQ(t->Module(ask).PathText,
              "on {1} goto [Menu]\r\non {2} goto [menu]\r\non {3} goto [Menu ]\r\n");
    EXPECT_EQ(t->Module(menu).Title, "Menu");
}

TEST(CleanModuleTitle, RemovesDelimitersAndTheBlanksTheyLeave) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Main [Menu]", "Main Menu"},
        {"  Sales  ", "Sales"},
        {"{a}<b>[c]", "abc"},
        // The file trims section titles: a blank left at an end would not survive a save.
        {"<New> Menu", "New Menu"},
        {"[] Menu {}", "Menu"},
        {"[]", ""},
        {"Menu (2)", "Menu (2)"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(CleanModuleTitle(in), out) << in;
}

TEST_F(RenameTest, ReplacementsThatMeetAgainAreReplacedUntilNoneIsLeft) {
    // A title read from a file may hold "[". Replacing "[a[b]" in "[a[a[b]]" gives "[a[b]]",
    // which holds it again.
    t->Module(menu).Title = "a[b";
    t->Module(ask).PathText = "on {1} goto [a[a[b]]\r\n";
    RenameModuleInPaths(*t, "a[b", "b", menu, script);
    EXPECT_EQ(t->Module(ask).PathText, "on {1} goto [b]]\r\n");

    // A new title that holds the old one is inserted once.
    t->Module(ask).PathText = "on {1} goto [x]\r\non {2} goto [x]\r\n";
    RenameModuleInPaths(*t, "x", "xx", menu, script);
    EXPECT_EQ(t->Module(ask).PathText, "on {1} goto [xx]\r\non {2} goto [xx]\r\n");
}

TEST_F(RenameTest, ApplyLeavesAnUntouchedTitleAlone) {
    // A title read from a file keeps its braces as long as the user does not change it.
    t->Module(sales).Title = "Sales {EU}";
    TitleChange same = ApplyModuleTitle(*t, sales, script, "  Sales {EU} ");
    EXPECT_FALSE(same.Renamed);
    EXPECT_EQ(same.Title, "Sales {EU}");
    EXPECT_EQ(t->Module(sales).Title, "Sales {EU}");

    TitleChange c = ApplyModuleTitle(*t, menu, script, " Main [Menu] ");
    EXPECT_TRUE(c.Renamed);
    EXPECT_EQ(t->Module(menu).Title, "Main Menu");
    EXPECT_EQ(t->Script(script).StartModule, "Main Menu");
    EXPECT_NE(t->Module(ask).PathText.find("[Main Menu]"), std::string::npos);
}

TEST_F(RenameTest, DeeplyNestedReferencesTakeLinearTime) {
    // Each replacement of "[a[b]" makes the next one around it: a careless rename would scan
    // the whole text once per level.
    constexpr int kLevels = 1'000'000;
    std::string nested;
    for (int i = 0; i < kLevels; ++i)
        nested += "[a";
    t->Module(menu).Title = "a[b";
    t->Module(ask).PathText = "on {1} goto " + nested + "[b]" + std::string(kLevels, ']');
    RenameModuleInPaths(*t, "a[b", "b", menu, script);
    // Compared whole rather than printed: a failure would show megabytes.
    EXPECT_TRUE(t->Module(ask).PathText == "on {1} goto [b]" + std::string(kLevels, ']'));
}

TEST_F(RenameTest, ReferencesThatMeetAgainGiveOneResultWhateverTheirDepth) {
    const struct {
        const char* old;
        const char* title;
        const char* paths;
        const char* renamed;
    } cases[] = {
        {"x[y", "y", "[x[x[y]][x[y]", "[y]][y]"},
        {"x[y", "y", "[x[x[y]] [x[y]]]", "[y]] [y]]]"},
        {"[x", "x", "[[[[x]]]", "[x]]]"},
        {"a[[b", "b", "[a[[a[[b]]", "[b]]"},
        {"a[b", "b", "[a[a[b] [a[b]]", "[b] [b]]"},
        {"a[b", "c", "[a[a[b]]", "[a[c]]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paths);
        t->Module(menu).Title = c.old;
        t->Module(ask).PathText = c.paths;
        RenameModuleInPaths(*t, c.old, c.title, menu, script);
        EXPECT_EQ(t->Module(ask).PathText, c.renamed);
    }
}

} // namespace
} // namespace ry
