#include "paths/destinations.h"

#include <gtest/gtest.h>

#include <memory>

namespace ry {
namespace {

using Titles = std::vector<std::optional<std::string_view>>;
constexpr std::nullopt_t none = std::nullopt;

TEST(PathDestinations, ReadsTheFirstBracketsAfterEachTrigger) {
    const std::pair<std::string_view, Titles> cases[] = {
        {"", {}},
        {"on {1} goto [Main]\r\n", {"Main"}},
        {"ON {1} GOTO [Main]", {"Main"}},
        {"on {1} goto [A]\r\non {2} goto [B]\r\non {3} goto [A]\r\n", {"A", "B", "A"}},
        {"on {1} gosub [Ask] return [After] rvset\r\n[n]{v}\r\n", {"Ask"}},
        {"on {success} return\r\non {2} goto [B]\r\n", {none, "B"}},
        {"on {success} return [Back]\r\n", {"Back"}},
        // The "[" must stand on the trigger's line.
        {"on {1} goto\r\n[Main]\r\n", {none}},
        {"on {1} goto [Main\r\n", {none}},
        {"on {1} goto []\r\n", {none}},
        // Brackets do not nest for drawing.
        {"on {1} goto [Sales [East]]\r\n", {"Sales [East"}},
        // Without "}" the search for "[" starts at "on {" itself.
        {"on {1 goto [A]", {"A"}},
        {"on {[T]} goto [A]", {"A"}},
        {"x on {1} goto [A]", {"A"}},
    };
    for (const auto& [text, titles] : cases)
        EXPECT_EQ(PathDestinations(text), titles) << text;
}

TEST(PathDestinations, LargeTextsTakeLinearTime) {
    // Each "on {" here would send a careless scan to the end of the text for its "}", then for
    // its "[" and "]".
    std::string text;
    for (int i = 0; i < 250000; ++i)
        text += "on {";
    EXPECT_EQ(PathDestinations(text).size(), 125000u); // each resumes past the next one
    text.clear();
    for (int i = 0; i < 250000; ++i)
        text += "on {}";
    text += "[";
    EXPECT_EQ(PathDestinations(text), Titles(125000, none));
}

TEST(PathLinks, EachPathKeepsItsTriggerBesideItsDestination) {
    using L = PathLink;
    const std::pair<std::string_view, std::vector<PathLink>> cases[] = {
        {"on {1} goto [Main]\r\non {timeout 5} goto [Main]\r\n",
         {L{"1", "Main"}, L{"timeout 5", "Main"}}},
        {"on {success} return\r\n", {L{"success", none}}},
        {"on {} goto [X]\r\n", {L{"", "X"}}},
        // Without "}" there is no trigger; one that runs past its line is cut there.
        {"on {1 goto [A]", {L{"", "A"}}},
        // The "}" found on the next line belongs to the path that follows, which is passed over.
        {"on {1 goto [A]\r\non {2} goto [B]", {L{"1 goto [A]", "B"}}},
    };
    for (const auto& [text, links] : cases)
        EXPECT_EQ(PathLinks(text), links) << text;
}

class ConnectorTest : public ::testing::Test {
protected:
    std::int16_t Add(std::int16_t s, const char* title, const char* paths) {
        std::int16_t m = t->MemStructRym_Get();
        AppendModuleToScript(*t, s, m);
        t->Module(m).Title = title;
        t->Module(m).PathText = paths;
        return m;
    }

    std::unique_ptr<ScriptTables> t = std::make_unique<ScriptTables>();
};

TEST_F(ConnectorTest, TitlesLeadToTheFirstModuleInChainOrder) {
    std::int16_t s = t->MemStructRys_Get();
    std::int16_t first = t->MemStructRym_Get();
    std::int16_t second = t->MemStructRym_Get();
    // Chained in the opposite order of their indexes.
    AppendModuleToScript(*t, s, second);
    AppendModuleToScript(*t, s, first);
    t->Module(first).Title = "Dup";
    t->Module(second).Title = "Dup";

    TitleIndex index(*t, s);
    EXPECT_EQ(index.Find("Dup"), second);
    EXPECT_EQ(index.Find("dup"), -1);
    EXPECT_EQ(index.Find("Other"), -1);
    EXPECT_EQ(TitleIndex(*t, 0).Find("Dup"), -1);
}

TEST_F(ConnectorTest, EveryPathLineToAModuleOfTheScriptIsAConnector) {
    std::int16_t s = t->MemStructRys_Get();
    std::int16_t other = t->MemStructRys_Get();
    Add(other, "Elsewhere", "on {1} goto [Menu]\r\n");
    std::int16_t menu = Add(s, "Menu",
                            "on {1} goto [Ask]\r\n"
                            "on {2} goto [Ask]\r\n" // drawn twice, on the same pixels
                            "on {3} goto [ask]\r\n" // letter case counts
                            "on {4} goto [Elsewhere]\r\n"
                            "on {5} goto [Voicemail Box 200]\r\n"
                            "on {6} goto [Menu]\r\n"); // to itself
    std::int16_t ask = Add(s, "Ask", "on {fail} return [Menu]\r\n");

    EXPECT_EQ(ScriptConnectors(*t, s),
              (std::vector<Connector>{{menu, ask}, {menu, ask}, {menu, menu}, {ask, menu}}));
    EXPECT_TRUE(ScriptConnectors(*t, other).empty()) << "titles are looked up in their own script";
    // Every path with a destination, whether a module bears it or not, numbered by its line.
    const std::vector<ScriptPath> paths = ScriptPaths(*t, s);
    ASSERT_EQ(paths.size(), 7u);
    EXPECT_EQ(paths[2], (ScriptPath{menu, -1, 2, "3", "ask"}));
    EXPECT_EQ(paths[4], (ScriptPath{menu, -1, 4, "5", "Voicemail Box 200"}));
    EXPECT_EQ(paths[6], (ScriptPath{ask, menu, 0, "fail", "Menu"}));
    EXPECT_TRUE(ScriptPaths(*t, 0).empty());
    EXPECT_TRUE(ScriptConnectors(*t, 0).empty());
    EXPECT_TRUE(ScriptConnectors(*t, 101).empty());
}

} // namespace
} // namespace ry
