#include "script/loader.h"
#include "script/saver.h"

#include "recording_host.h"

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

} // namespace
} // namespace ry
