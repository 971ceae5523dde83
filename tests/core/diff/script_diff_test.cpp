#include "diff/module_settings.h"
#include "diff/script_diff.h"

#include "paths/path_text.h"
#include "paths/rename.h"
#include "script/host.h"
#include "script/loader.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ry {
namespace {

// The example script loaded twice, so a case can change the second copy.
struct Versions {
    std::unique_ptr<ScriptTables> before = std::make_unique<ScriptTables>();
    std::unique_ptr<ScriptTables> after = std::make_unique<ScriptTables>();
    std::int16_t oldScript = -1, newScript = -1;

    Versions() {
        Host host;
        const std::string file = std::string(RY_EXAMPLES_DIR) + "/office-line.rys";
        oldScript = RysScriptLoad(*before, host, file);
        newScript = RysScriptLoad(*after, host, file);
    }
    ModuleRecord& Module(std::string_view title) {
        std::int16_t found = -1;
        ForEachModule(*after, newScript, [&](std::int16_t m, const ModuleRecord& r) {
            if (r.Title == title && found < 1)
                found = m;
        });
        EXPECT_GE(found, 1) << title;
        return after->Module(found);
    }
    std::int16_t Index(std::string_view title) {
        ModuleRecord& r = Module(title);
        return static_cast<std::int16_t>(&r - &after->Module(1) + 1);
    }
    void Rename(std::string_view from, std::string_view to) {
        RenameModuleInPaths(*after, from, to, Index(from), newScript);
    }
    std::vector<std::string> Lines(bool positions = false) {
        return DiffLines(DiffScripts(*before, oldScript, *after, newScript), positions);
    }
};

struct Case {
    const char* name;
    std::function<void(Versions&)> edit;
    std::vector<std::string> lines;
};

TEST(ScriptDiff, ChangesReadAsAReaderNamesThem) {
    const std::vector<Case> cases = {
        {"nothing changed", [](Versions&) {}, {}},
        {"setting changed",
         [](Versions& v) { v.Module("Sales").PlayFileSlot(1) = "203"; },
         {"Sales: extension 201 → 203"}},
        {"time switch days",
         [](Versions& v) { v.Module("Office Hours").sTimeSwitch_DaysSelected = "MoTuWeThFrSa"; },
         {"Office Hours: days Mo–Fr → Mo–Sa"}},
        {"re-targeted path",
         [](Versions& v) {
             auto& m = v.Module("Main Menu");
             m.PathText = ReplaceTitleReferences(m.PathText, "Leave Message", "Goodbye");
         },
         {"Main Menu: on 2 → Goodbye, was Leave Message"}},
        {"path added and removed",
         [](Versions& v) {
             auto& m = v.Module("Main Menu");
             m.PathText = "on {1} goto [Sales]\r\non {2} goto [Leave Message]\r\n"
                          "on {3} goto [Goodbye]\r\non {timeout 5} goto [Main Menu]\r\n";
         },
         {"Main Menu: on 3 → Goodbye, added", "Main Menu: on 9 → Voicemail Box 200, removed"}},
        {"rename keeps the module",
         [](Versions& v) { v.Rename("Leave Message", "Take a Message"); },
         {"Take a Message: renamed from Leave Message"}},
        {"rename of the start module is no property change",
         [](Versions& v) { v.Rename("Greeting", "Welcome"); },
         {"Welcome: renamed from Greeting"}},
        {"moved boxes only",
         [](Versions& v) {
             v.Module("Sales").PositionX += 40;
             v.Module("Goodbye").PositionY += 20;
         },
         {"2 boxes moved"}},
        {"a field of another type, whose caption another field shares",
         [](Versions& v) { v.Module("Sales").strEmailMessageText = "Hi"; },
         {"Sales: message (empty) → Hi"}},
        {"script property",
         [](Versions& v) { v.after->Script(v.newScript).StartWithoutAnswer = true; },
         {"script: start without answer no → yes"}},
    };
    for (const Case& c : cases) {
        Versions v;
        ASSERT_GE(v.oldScript, 1);
        c.edit(v);
        EXPECT_EQ(v.Lines(), c.lines) << c.name;
    }
}

TEST(ScriptDiff, ARenamedModuleWithOtherSettingsIsRemovedAndAdded) {
    Versions v;
    v.Rename("After Hours", "Closed");
    v.Module("Closed").PlayFileSlot(1) = "prompts\\other.wav";
    const auto lines = v.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Closed: added (Play)"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "After Hours: removed (Play)"), lines.end());
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "Office Hours: on false → Closed, was After Hours"),
        lines.end());
}

TEST(ScriptDiff, MovesAndMeaning) {
    Versions v;
    v.Module("Sales").PositionX = 999;
    const ScriptDiff moved = DiffScripts(*v.before, v.oldScript, *v.after, v.newScript);
    EXPECT_TRUE(moved.SameMeaning());
    EXPECT_EQ(DiffLines(moved, true),
              std::vector<std::string>{"Sales: moved from 300, 340 to 999, 340"});

    v.Module("Sales").Txt = "Other words";
    EXPECT_FALSE(DiffScripts(*v.before, v.oldScript, *v.after, v.newScript).SameMeaning());
}

TEST(ScriptDiff, PasswordsAreNotShown) {
    Versions v;
    v.Module("Sales").strEmailSmtpAuthPassword_1 = "hunter2";
    EXPECT_EQ(v.Lines(), std::vector<std::string>{"Sales: SMTP password 1 changed"});
}

TEST(ModuleSettings, DayRanges) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"MoTuWeThFr", "Mo\x96"
                       "Fr"},
        {"MoWeFr", "Mo, We, Fr"},
        {"", "no day"},
        {"MoTuThFrSaSu", "Mo, Tu, Th\x96"
                         "Su"},
        {"SaSu", "Sa, Su"},
    };
    for (const auto& [codes, text] : cases)
        EXPECT_EQ(DayRange(codes), text) << codes;
}

} // namespace
} // namespace ry
