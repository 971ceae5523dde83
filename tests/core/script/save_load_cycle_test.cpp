#include "script/loader.h"
#include "script/saver.h"

#include "recording_host.h"
#include "script_builder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ry {
namespace {

using test::RecordingHost;

// Texts that a hand edit or damage can leave in a script file. Opened, saved, opened and
// saved again, the script keeps its modules and its saved text stays the same.
struct CycleCase {
    const char* name;
    std::string text;
};

void PrintTo(const CycleCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveLoadCycleTest : public ::testing::TestWithParam<CycleCase> {
protected:
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    RecordingHost host;

    std::int16_t Open(std::string_view text) {
        std::int16_t script = tables->MemStructRys_Get();
        tables->Script(script).NotFromFile = false;
        EXPECT_EQ(InterpretScriptText(*tables, host, script, text), 0);
        return script;
    }
    std::string SaveAndClose(std::int16_t script) {
        std::string text = BuildScriptText(*tables, script, RecordBoxes(*tables));
        tables->MemStructRys_FreeAll(script);
        return text;
    }
};

TEST_P(SaveLoadCycleTest, KeepsTheModulesAndSettles) {
    std::int16_t script = Open(GetParam().text);
    const std::int16_t modules = tables->Script(script).ModuleCount;
    std::string saved = SaveAndClose(script);
    const std::string firstSave = saved;
    std::string texts[2];
    for (std::string& text : texts) {
        script = Open(saved);
        EXPECT_EQ(tables->Script(script).ModuleCount, modules) << saved;
        text = saved = SaveAndClose(script);
    }
    EXPECT_EQ(texts[0], texts[1]);
    // What the program wrote comes back byte for byte when saved again.
    EXPECT_EQ(texts[0], firstSave);
    EXPECT_EQ(tables->MemStructRym_FreeCount(), kModuleCapacity);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SaveLoadCycleTest,
    ::testing::Values(
        // A module that is not a VB Script module reads a script text into the slot its own
        // first value is saved from; only the text's first line can be saved there.
        CycleCase{"ScriptTextInAPlayModule", "[\r\nType=Play\r\nVbScript\r\n["},
        CycleCase{"ScriptTextInATransferModule",
                  "[A]\r\nType=Transfer Call\r\nVbScript=x\r\n[B]\r\nType=Play\r\nPosition=1,1"},
        CycleCase{"ScriptTextInARunProgramModule",
                  "[A]\r\nType=Run Program\r\nVbScript=notepad\r\n[B]\r\nPosition=1,1"},
        // Continued lines put lines into a script text that would end it if written as they
        // are, and the lines after them would become keys and modules.
        CycleCase{"ContinuedScriptTextHoldingAPositionLine",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x\\\r\nPosition=5\\\r\n[C]\r\n"},
        CycleCase{"ContinuedScriptTextHoldingAPathLine",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x\\\r\nON {1} goto [C]/\r\n[C]\r\n"},
        CycleCase{"ContinuedScriptTextHoldingItsHoldSoundLine",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x\\\r\nVbsHoldPlay=h/\r\n[C]\r\n"},
        CycleCase{"ContinuedScriptTextWhoseFirstLineEndsInASlash",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x\\\\\r\ny\\\r\n[C]\r\n"},
        // A blank before the backslash stays at the end of the first line of the text.
        CycleCase{"ContinuedScriptTextWhoseFirstLineEndsInABlank",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x \\\r\ny\r\nVbsHoldPlay=\r\n"},
        CycleCase{"ScriptTextWithBlanksAndEmptyLines",
                  "[A]\r\nType=Run VB Script\r\nVbScript=x \r\n\r\ny  \r\n\r\nVbsHoldPlay=\r\n"}),
    [](const ::testing::TestParamInfo<CycleCase>& info) { return std::string(info.param.name); });

// Values with blanks at their ends, in lines, around backslashes, and empty lines, as a
// dialog may store them: what the program writes, loaded and saved again, gives the same
// bytes.
TEST(SaveLoadCycle, WhatTheProgramWroteResavesByteForByte) {
    using Set = void (*)(ModuleRecord&);
    struct Case {
        const char* name;
        std::string_view type;
        Set set;
    } cases[] = {
        {"text with blanks at its ends", kTypePlay,
         [](ModuleRecord& m) { m.strTtsText = "  hello there  "; }},
        {"sound file ending in a blank", kTypePlay,
         [](ModuleRecord& m) { m.PlayFileSlot(3) = "a.wav "; }},
        {"box text with blanks around its lines", kTypePlay,
         [](ModuleRecord& m) { m.Txt = " one \r\n  two\\ \r\n\r\n three  "; }},
        {"box text ending in a line end", kTypePlay, [](ModuleRecord& m) { m.Txt = "a\r\n"; }},
        {"box text ending in a backslash and blank", kTypePlay,
         [](ModuleRecord& m) { m.Txt = "a\r\nb\\ "; }},
        {"message body with blank lines", kTypeSendEmail,
         [](ModuleRecord& m) { m.strEmailMessageText = "Hi \r\n\r\n  bye /"; }},
        {"contact number with blanks", kTypePhoneMessage,
         [](ModuleRecord& m) { m.sDialPhone[1] = " 555 "; }},
        {"VB Script text", kTypeRunVbScript,
         [](ModuleRecord& m) {
             m.PlayFileSlot(1) = "x \\\r\n  y  \r\n\r\nz\\";
             m.PlayFileSlot(2) = " hold.wav ";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tables = std::make_unique<ScriptTables>();
        RecordingHost host;
        std::int16_t script = test::NewScript(*tables);
        c.set(test::AddModule(*tables, script, c.type, "M"));
        const std::string first = BuildScriptText(*tables, script, RecordBoxes(*tables));
        tables->MemStructRys_FreeAll(script);
        script = tables->MemStructRys_Get();
        tables->Script(script).NotFromFile = false;
        ASSERT_EQ(InterpretScriptText(*tables, host, script, first), 0);
        EXPECT_EQ(BuildScriptText(*tables, script, RecordBoxes(*tables)), first);
    }
}

} // namespace
} // namespace ry
