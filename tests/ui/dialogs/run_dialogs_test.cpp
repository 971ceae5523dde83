// The Run Program and Run VB Script dialogs.

#include "dialogs/vb_script_dialog.h"
#include "round_trip.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

namespace ry::test {
namespace {

using RunDialogTest = RoundTripTest;

TEST_F(RunDialogTest, StoredListValuesOutOfRangeOpenOnTheNearestEntry) {
    struct Case {
        const char* type;
        std::int16_t mode;
        std::int16_t wait;
        const char* modeShown; // nullptr: the dialog has no run mode
        const char* waitShown;
        std::int16_t modeStored;
        std::int16_t waitStored;
    } cases[] = {
        {"Run Program", 9, -3, "Focus: Current window, New window is: Icon",
         "Do not wait for program to complete.", 5, 0},
        {"Run Program", -1, 7, "Focus: New window, New window is: Hidden",
         "Wait until program completes.", 0, 1},
        {"Run Program", 3, 1, "Focus: New window, New window is: Maximized",
         "Wait until program completes.", 3, 1},
        {"Run VB Script", 9, -3, nullptr, "Do not wait for VB Script to complete.", 9, 0},
        {"Run VB Script", 1, 7, nullptr, "Wait until VB Script completes.", 1, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        ModuleRecord& m = Add(c.type, "Module " + std::to_string(++n));
        m.RunMode = c.mode;
        m.RunWait = c.wait;
    }
    Show();
    n = 0;
    for (const Case& c : cases) {
        ModuleDialog* d = Open("Module " + std::to_string(++n));
        ASSERT_NE(d, nullptr);
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.mode) + "/" +
                     std::to_string(c.wait));
        if (c.modeShown) {
            EXPECT_EQ(Child<QComboBox>(d, "cmbRunMode")->currentText(), c.modeShown);
        }
        EXPECT_EQ(Child<QComboBox>(d, "cmbRunWait")->currentText(), c.waitShown);
        const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
        EXPECT_EQ(stored.RunMode, c.modeStored);
        EXPECT_EQ(stored.RunWait, c.waitStored);
        EXPECT_FALSE(d->IsDirty());
    }
}

TEST_F(RunDialogTest, ProgramChosenAmongPrograms) {
    Add("Run Program", "Report");
    Show();
    ModuleDialog* d = Open("Report");
    EXPECT_EQ(d->objectName(), "frmDbiRun");
    EXPECT_EQ(Child<QComboBox>(d, "cmbRunMode")->count(), 6);
    prompter_.files = {"/opt/report/run.bat"};
    Child<QPushButton>(d, "cmdSoundFileSelect(0)")->click();
    EXPECT_EQ(Field(d, "txtSoundFile(0)")->text(), "/opt/report/run.bat");
    EXPECT_TRUE(prompter_.fileRequests.back().filter.contains("*.exe"));
    // The second row is the sound played meanwhile.
    Field(d, "txtSoundFile(1)")->setText("hold.wav");
    Child<QPushButton>(d, "cmdPlayStop(1)")->click();
    EXPECT_EQ(launcher_->played.size(), 1);
}

TEST_F(RunDialogTest, ScriptOpensAtItsFirstLine) {
    ModuleRecord& m = Add("Run VB Script", "Check");
    m.PlayFileSlot(1) = "\r\n  \r\nDim x\r\nx = 1";
    m.PlayFileSlot(2) = "  hold.wav  ";
    m.PlayFileSlot(3) = "check.vbs"; // no box: kept
    Show();
    ModuleDialog* d = Open("Check");
    EXPECT_EQ(d->objectName(), "frmDbiVbScript");
    auto* script = Child<QPlainTextEdit>(d, "txtSoundFile(0)");
    EXPECT_EQ(script->toPlainText(), "Dim x\nx = 1");
    EXPECT_EQ(script->document()->firstBlock().text(), "Dim x");
    EXPECT_EQ(Field(d, "txtSoundFile(1)")->text(), "hold.wav");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.PlayFileSlot(1), "Dim x\r\nx = 1");
    EXPECT_EQ(stored.PlayFileSlot(3), "check.vbs");
}

TEST_F(RunDialogTest, CaretLineShownAtOnce) {
    Add("Run VB Script", "Check").PlayFileSlot(1) = "Dim x\r\nDim y\r\nx = 1\r\ny = 2";
    Show();
    ModuleDialog* d = Open("Check");
    auto* script = Child<QPlainTextEdit>(d, "txtSoundFile(0)");
    auto* line = Child<QLabel>(d, "lblLineCount");
    EXPECT_EQ(line->text(), "1");
    auto caretAt = [&](int position, int anchor = -1) {
        QTextCursor cursor(script->document());
        cursor.setPosition(anchor < 0 ? position : anchor);
        if (anchor >= 0)
            cursor.setPosition(position, QTextCursor::KeepAnchor);
        script->setTextCursor(cursor);
    };
    const int thirdLine = script->document()->findBlockByNumber(2).position();
    QElapsedTimer clock;
    clock.start();
    caretAt(thirdLine + 2);
    while (line->text() != "3" && clock.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(line->text(), "3");
    // A selection counts from its start, whichever end the caret is at.
    caretAt(script->document()->findBlockByNumber(3).position(), 1);
    EXPECT_EQ(line->text(), "1");
    caretAt(1, thirdLine);
    EXPECT_EQ(line->text(), "1");
    // Typing a line break moves the caret to the next line.
    caretAt(thirdLine);
    script->insertPlainText("\n");
    EXPECT_EQ(line->text(), "4");
}

TEST_F(RunDialogTest, LoadVbsTakesAtMostItsLimit) {
    Add("Run VB Script", "Check").PlayFileSlot(1) = "old";
    Show();
    ModuleDialog* d = Open("Check");
    auto* script = Child<QPlainTextEdit>(d, "txtSoundFile(0)");
    const std::string longLine(VbScriptDialog::kLoadLimit + 10000, 'x');
    WriteFile("long.vbs", longLine);
    WriteFile("short.vbs", "Dim a\r\na = 1\r\n");

    prompter_.files = {folder_.filePath("short.vbs")};
    Child<QPushButton>(d, "cmdLoadVbs")->click();
    EXPECT_EQ(script->toPlainText(), "Dim a\na = 1\n");
    EXPECT_TRUE(prompter_.fileRequests.back().filter.contains("*.vbs"));
    EXPECT_TRUE(d->IsDirty());

    prompter_.files = {folder_.filePath("long.vbs")};
    Child<QPushButton>(d, "cmdLoadVbs")->click();
    EXPECT_EQ(script->toPlainText().size(), VbScriptDialog::kLoadLimit);

    // Cancelled: nothing changes. Unreadable: the script stays and the user is told.
    prompter_.files = {};
    Child<QPushButton>(d, "cmdLoadVbs")->click();
    EXPECT_EQ(script->toPlainText().size(), VbScriptDialog::kLoadLimit);
    script->setPlainText("kept");
    prompter_.messages.clear();
    prompter_.files = {folder_.filePath("missing.vbs")};
    Child<QPushButton>(d, "cmdLoadVbs")->click();
    EXPECT_EQ(script->toPlainText(), "kept");
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_TRUE(prompter_.messages[0].text.endsWith("Could not be loaded."));
}

TEST_F(RunDialogTest, EveryFieldThroughTheFile) {
    Add("Run Program", "Report");
    Add("Run VB Script", "Check").PlayFileSlot(3) = "check.vbs";
    Show();
    ExpectRoundTrip("Report", [&](ModuleDialog* d) {
        Field(d, "txtSoundFile(0)")->setText("C:\\tools\\report.exe /daily");
        Field(d, "txtSoundFile(1)")->setText("hold.wav");
        Choose(Child<QComboBox>(d, "cmbRunMode"), "Focus: Current window, New window is: Standard");
        Choose(Child<QComboBox>(d, "cmbRunWait"), "Do not wait for program to complete.");
        Field(d, "txtModTitle")->setText("Daily report");
    });
    // The script's lines are read back each with its line end, the last one too.
    const std::int16_t check = ModuleTitled("Check");
    ExpectRoundTrip("Check",
                    [&](ModuleDialog* d) {
                        Child<QPlainTextEdit>(d, "txtSoundFile(0)")
                            ->setPlainText("Dim x\n\n  If x Then\n    x = 2\n  End If");
                        Field(d, "txtSoundFile(1)")->setText("music.wav");
                        Choose(Child<QComboBox>(d, "cmbRunWait"),
                               "Do not wait for VB Script to complete.");
                        Field(d, "txtModTitle")->setText("Check caller");
                    },
                    {"PlayFile"});
    const ModuleRecord& stored = Tables().Module(check);
    const ModuleRecord& loaded = SaveAndLoad(check);
    EXPECT_EQ(loaded.PlayFileSlot(1), stored.PlayFileSlot(1) + "\r\n");
    EXPECT_EQ(loaded.PlayFileSlot(2), "music.wav");
    EXPECT_EQ(loaded.PlayFileSlot(3), "check.vbs");
}

} // namespace
} // namespace ry::test
