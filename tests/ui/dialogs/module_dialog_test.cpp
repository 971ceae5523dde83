// The module dialog frame, the open-dialog table and the paths panel, on the Play dialog.

#include "dialog_fixture.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace ry::test {
namespace {

class FrameTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Add("Play", "Main");
        Add("Play", "Welcome").PathText = "on {1} goto [Main]\r\n";
        Add("Get Numbers", "Account");
        Show();
    }
    PathsPanel& Paths(ModuleDialog* d) { return *d->Paths(); }
    const ModuleRecord& Record(std::string_view title) {
        return Tables().Module(ModuleTitled(title));
    }
};

TEST_F(FrameTest, OpensCleanAndClosesWithoutAsking) {
    ModuleDialog* d = Open("Welcome");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->objectName(), "frmDbiPlay");
    EXPECT_EQ(d->windowTitle(), "Welcome");
    EXPECT_FALSE(d->isModal());
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->IsDirty());
    EXPECT_FALSE(Tables().Script(script_).Modified); // opening alone changes nothing
    EXPECT_EQ(Paths(d).Text().toPlainText(), "on {1} goto [Main]\n");
    EXPECT_TRUE(d->close());
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_EQ(designer_->Dialogs().OpenCount(), 0);
}

TEST_F(FrameTest, OneDialogPerModuleInReusedSlots) {
    ModuleDialogTable& table = *moduleDialogs_;
    ModuleDialog* main = Open("Main");
    ModuleDialog* welcome = Open("Welcome");
    EXPECT_EQ(main->Slot(), 1);
    EXPECT_EQ(welcome->Slot(), 2);
    EXPECT_EQ(Open("Main"), main); // brought to the front, not opened twice
    EXPECT_EQ(table.OpenCount(), 2);
    main->close();
    ModuleDialog* account = Open("Account");
    EXPECT_EQ(account->Slot(), 1);
    EXPECT_EQ(table.SlotCount(), 2);
    EXPECT_EQ(account->objectName(), "frmDbiGetNbrs");
    EXPECT_EQ(Items(&Paths(account).Trigger()),
              QStringList({"Success", "Fail", "Timeout", "Digit *", "exact_number"}));
    EXPECT_EQ(Paths(account).Trigger().currentText(), "Success");
    EXPECT_EQ(Items(&Paths(account).Destination()),
              QStringList({"Main", "Welcome", "Account", "Voicemail Box", "Voicemail Box Menu",
                           "Voicemail Retrieve", "Voicemail Auto Attendant"}));
    EXPECT_EQ(Paths(account).Destination().currentIndex(), -1); // nothing chosen yet
}

TEST_F(FrameTest, EachDialogOpensOffsetFromTheOneOpenedBefore) {
    ModuleDialog* main = Open("Main");
    ModuleDialog* welcome = Open("Welcome");
    ModuleDialog* account = Open("Account");
    // A title bar further down each time, and as far right as the screen leaves room for.
    const int step = welcome->pos().y() - main->pos().y();
    EXPECT_GT(step, 10);
    EXPECT_EQ(account->pos().y(), welcome->pos().y() + step);
    EXPECT_GE(welcome->pos().x(), main->pos().x());
    EXPECT_GE(account->pos().x(), welcome->pos().x() - 60) << "only as far left as its width needs";
    // Once the others are closed, the next opens where the dialogs' parent puts it.
    account->close();
    welcome->close();
    main->close();
    EXPECT_EQ(Open("Welcome")->pos(), main->pos());
}

TEST_F(FrameTest, CloseQuestionWhenChangesAreUnsaved) {
    struct Case {
        MessageAnswer answer;
        bool closes;
        const char* title;
    } cases[] = {
        {MessageAnswer::Cancel, false, "Main"},
        {MessageAnswer::No, true, "Main"},
        {MessageAnswer::Yes, true, "Front desk"},
    };
    for (const Case& c : cases) {
        ModuleDialog* d = Open("Main");
        ASSERT_NE(d, nullptr);
        Field(d, "txtModTitle")->setText("Front desk");
        EXPECT_TRUE(d->IsDirty());
        prompter_.messages.clear();
        prompter_.answers = {c.answer};
        EXPECT_EQ(d->close(), c.closes);
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_EQ(prompter_.messages[0].text, "Save changes to the module?");
        EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(Tables().Module(d->ModuleIndex()).Title, c.title);
        if (!c.closes) {
            Field(d, "txtModTitle")->setText("Main");
            d->Apply();
            d->close();
        }
    }
}

TEST_F(FrameTest, ApplyAddsAPendingPathOnce) {
    ModuleDialog* d = Open("Main");
    PathsPanel& p = Paths(d);
    Choose(&p.Trigger(), "Digit 5");
    Choose(&p.Destination(), "Welcome");
    d->Apply();
    EXPECT_EQ(Record("Main").PathText, "on {5} goto [Welcome]\r\n");
    d->Apply();
    EXPECT_EQ(Record("Main").PathText, "on {5} goto [Welcome]\r\n");
    // Removed by the user, it does not come back on the next Apply.
    p.Text().setPlainText("");
    EXPECT_TRUE(d->IsDirty());
    d->Apply();
    EXPECT_EQ(Record("Main").PathText, "");
    // OK without pressing the add button adds the path too.
    Choose(&p.Trigger(), "Digit 6");
    d->Ok();
    EXPECT_EQ(Record("Main").PathText, "on {6} goto [Welcome]\r\n");
}

TEST_F(FrameTest, TimeoutPathWithEmptySeconds) {
    ModuleDialog* d = Open("Main");
    PathsPanel& p = Paths(d);
    EXPECT_FALSE(p.Timeout().isEnabled());
    p.Trigger().setCurrentText("timeout"); // typed, in any letter case
    EXPECT_TRUE(p.Timeout().isEnabled());
    Choose(&p.Destination(), "Account");
    d->Apply();
    EXPECT_EQ(Record("Main").PathText, "on {timeout 0} goto [Account]\r\n");
    EXPECT_EQ(p.Timeout().text(), "0");
    Type(&p.Timeout(), "99999");
    EXPECT_EQ(p.Timeout().text(), "3600");
    Type(&p.Timeout(), "12ab");
    EXPECT_EQ(p.Timeout().text(), "0");
}

TEST_F(FrameTest, AddButtonAndVoicemailBox) {
    ModuleDialog* d = Open("Main");
    PathsPanel& p = Paths(d);
    auto* add = Child<QPushButton>(d, "cmdAddPath");
    add->click();
    EXPECT_EQ(prompter_.MessageTexts(), QStringList({"Please select destination module"}));
    Choose(&p.Destination(), "Voicemail Box");
    EXPECT_TRUE(p.BoxNumber().isEnabled());
    add->click();
    EXPECT_EQ(prompter_.MessageTexts().last(), "Please specify Voicemail Box Number");
    EXPECT_EQ(p.Text().toPlainText(), "");
    d->Apply(); // a voicemail box without its number adds nothing
    EXPECT_EQ(Record("Main").PathText, "");

    p.BoxNumber().setText("200");
    add->click();
    add->click(); // the add button appends even a line that is there
    EXPECT_EQ(p.Text().toPlainText(),
              "on {1} goto [Voicemail Box 200]\non {1} goto [Voicemail Box 200]\n");
    EXPECT_TRUE(d->IsDirty());
    Choose(&p.Destination(), "Main");
    EXPECT_FALSE(p.BoxNumber().isEnabled());
}

TEST_F(FrameTest, RenameReachesPathsBoxAndEveryOpenDialog) {
    ModuleDialog* main = Open("Main");
    ModuleDialog* account = Open("Account");
    ModuleDialog* welcome = Open("Welcome");
    // Account has a path typed but not applied; Welcome's text is the stored one.
    Paths(account).Text().setPlainText("on {success} goto [Main]\n");
    QSignalSpy boxChanged(&Doc(), &ScriptDocument::boxChanged);

    Field(main, "txtModTitle")->setText("  Sales <1> ");
    main->Apply();

    EXPECT_EQ(Record("Sales 1").Type, "Play");
    EXPECT_EQ(main->windowTitle(), "Sales 1");
    EXPECT_EQ(Field(main, "txtModTitle")->text(), "Sales 1");
    EXPECT_EQ(Tables().Script(script_).StartModule, "Sales 1");
    EXPECT_EQ(Record("Welcome").PathText, "on {1} goto [Sales 1]\r\n");
    bool relabelled = false;
    for (const QList<QVariant>& args : boxChanged)
        relabelled |= args.at(0).toInt() == main->BoxIndex();
    EXPECT_TRUE(relabelled);
    for (ModuleDialog* d : {main, account, welcome}) {
        EXPECT_TRUE(Items(&Paths(d).Destination()).contains("Sales 1"))
            << d->windowTitle().toStdString();
        EXPECT_FALSE(Items(&Paths(d).Destination()).contains("Main"));
    }
    EXPECT_EQ(Paths(welcome).Text().toPlainText(), "on {1} goto [Sales 1]\n");
    EXPECT_FALSE(welcome->IsDirty());
    // Unapplied text keeps its edits, with the rename made in them.
    EXPECT_EQ(Paths(account).Text().toPlainText(), "on {success} goto [Sales 1]\n");
    EXPECT_TRUE(account->IsDirty());
}

TEST_F(FrameTest, FollowsTheCanvasWhileOpen) {
    ModuleDialog* d = Open("Main");
    // Renamed on its box, and given a path from the canvas, while the dialog is open.
    Doc().RenameModule(d->ModuleIndex(), "Reception");
    Doc().AddPathLine(d->ModuleIndex(), "on {2} goto [Account]");
    EXPECT_EQ(Field(d, "txtModTitle")->text(), "Reception");
    EXPECT_EQ(Paths(d).Text().toPlainText(), "on {2} goto [Account]\n");
    d->Apply(); // neither renames the module back nor drops the path
    EXPECT_EQ(Record("Reception").PathText, "on {2} goto [Account]\r\n");
}

TEST_F(FrameTest, CtrlTabTurnsToTheNextTabAndWraps) {
    ModuleDialog* d = Open("Account");
    auto* tabs = Child<QTabWidget>(d, "tbsOptions");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), "Paths");
    EXPECT_EQ(tabs->tabToolTip(2), "Set paths leaving this module");
    EXPECT_EQ(tabs->widget(2)->objectName(), "picOptions(2)");
    EXPECT_EQ(d->CurrentTab(), 0);
    QTest::keyClick(Field(d, "txtReplayCount"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d->CurrentTab(), 1);
    d->SelectTab(2);
    // From inside the paths text box too, which would otherwise take the key.
    QTest::keyClick(&Paths(d).Text(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d->CurrentTab(), 0);
}

TEST_F(FrameTest, ClosingTheDocumentAsksForItsDialogsFirst) {
    ModuleDialog* d = Open("Main");
    Field(d, "txtModTitle")->setText("Front desk");
    // Cancel on the dialog's question keeps the window and the dialog.
    prompter_.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(window_->close());
    EXPECT_NE(designer_->Dialogs().DialogOfModule(d->ModuleIndex()), nullptr);
    // Yes applies the change before the script's own question, so it can be saved with it;
    // the dialog closes only with the window.
    prompter_.messages.clear();
    prompter_.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    EXPECT_FALSE(window_->close());
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(prompter_.messages[0].text, "Save changes to the module?");
    EXPECT_TRUE(prompter_.messages[1].text.startsWith("Would you like to save"));
    EXPECT_EQ(Record("Front desk").Type, "Play");
    EXPECT_EQ(designer_->Dialogs().OpenCount(), 1);
    prompter_.answers = {MessageAnswer::No};
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(designer_->Dialogs().OpenCount(), 0);
}

TEST_F(FrameTest, DeletingAModuleClosesItsDialog) {
    ModuleDialog* d = Open("Account");
    Field(d, "txtModTitle")->setText("Changed"); // unsaved, but the module is gone
    Doc().SelectOnlyBox(d->BoxIndex());
    prompter_.messages.clear();
    ASSERT_TRUE(Doc().DeleteSelectedModules());
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_EQ(designer_->Dialogs().OpenCount(), 0);
}

TEST_F(FrameTest, SoundRowButtons) {
    ModuleDialog* d = Open("Main");
    QLineEdit* file = Field(d, "txtSoundFile(0)");
    const QString folder = folder_.path();
    WriteFile("system/8pcm16m.wav", "RIFF template");
    designer_->Settings().RecEditor = "\"/opt/sound tools/rec\" -n ";

    Child<QPushButton>(d, "cmdPlayStop")->click();
    EXPECT_EQ(launcher_->played, QStringList({folder + "/system/pcm8kHz16m.wav"}));

    // A missing file is made from the template, then the recorder opens it.
    file->setText(folder + "\\new.wav");
    Child<QPushButton>(d, "cmdRec")->click();
    ASSERT_EQ(launcher_->started.size(), 1u);
    EXPECT_EQ(launcher_->started[0].program, "/opt/sound tools/rec");
    EXPECT_EQ(launcher_->started[0].arguments, QStringList({"-n", folder + "/new.wav"}));
    QFile made(folder + "/new.wav");
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_EQ(made.readAll(), "RIFF template");

    // No file: the recorder starts without one.
    file->clear();
    Child<QPushButton>(d, "cmdRec")->click();
    EXPECT_EQ(launcher_->started.back().arguments, QStringList({"-n"}));

    // A recorder that cannot be started is reported as a companion program is.
    launcher_->startSucceeds = false;
    Child<QPushButton>(d, "cmdRec")->click();
    EXPECT_EQ(prompter_.MessageTexts().last(),
              "/opt/sound tools/rec\r\nCould not be found. The recorder is set in RY.INI, "
              "section [PlayRecordConfig], key RecEditor.");

    launcher_->startSucceeds = true;
    const size_t starts = launcher_->started.size();
    file->setText(folder); // a folder cannot be recorded into
    Child<QPushButton>(d, "cmdRec")->click();
    EXPECT_EQ(prompter_.MessageTexts().last(), "Invalid Filename");
    EXPECT_EQ(launcher_->started.size(), starts);

    prompter_.files = {folder + "/chosen.wav"};
    Child<QPushButton>(d, "cmdSoundFileSelect")->click();
    EXPECT_EQ(file->text(), folder + "/chosen.wav");
    EXPECT_EQ(prompter_.fileRequests.back().kind, FileRequest::Open);
}

// The Record button and the sound file a script names: the recorder gets an absolute path,
// never one that reads as an option; only a wave file is made, and one outside the script's
// folder only when the user agrees.
TEST_F(FrameTest, RecordMakesOnlyWaveFilesAndAsksOutsideTheScriptsFolder) {
    ModuleDialog* d = Open("Main");
    QLineEdit* file = Field(d, "txtSoundFile(0)");
    WriteFile("system/8pcm16m.wav", "RIFF template");
    designer_->Settings().RecEditor = "rec";
    const QDir root(folder_.path());
    root.mkpath("scripts");
    root.mkpath("elsewhere");
    const QString scripts = root.filePath("scripts");
    // Opened by a name without a folder, from inside its folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(scripts));
    Tables().Script(script_).FileName = "office.rys";
    Tables().Script(script_).FolderPath = "";
    auto record = [&](const QString& name) {
        prompter_.messages.clear();
        launcher_->started.clear();
        file->setText(name);
        Child<QPushButton>(d, "cmdRec")->click();
    };

    for (const QString& name :
         {QStringLiteral("--config=evil.conf"), QStringLiteral("..\\elsewhere\\evil.desktop")}) {
        record(name);
        EXPECT_TRUE(launcher_->started.empty()) << name.toStdString();
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_TRUE(prompter_.messages[0].text.endsWith(
            "This file does not exist, and only a file whose name ends in \".wav\" is made for "
            "a recording."));
    }
    EXPECT_EQ(QDir(scripts).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(root.filePath("elsewhere")).entryList(QDir::Files), QStringList());

    // Inside the folder: made without a question, and handed over by its absolute path.
    record("-menu.wav");
    EXPECT_TRUE(prompter_.messages.empty());
    ASSERT_EQ(launcher_->started.size(), 1u);
    EXPECT_EQ(launcher_->started[0].arguments, QStringList{scripts + "/-menu.wav"});
    EXPECT_TRUE(QFile::exists(scripts + "/-menu.wav"));

    // Outside it, in any letter case of ".wav": asked first.
    const QString outside = root.filePath("elsewhere/hold.WAV");
    prompter_.answers = {MessageAnswer::No};
    record("../elsewhere/hold.WAV");
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(QFile::exists(outside));
    EXPECT_TRUE(launcher_->started.empty());
    prompter_.answers = {MessageAnswer::Yes};
    record("../elsewhere/hold.WAV");
    EXPECT_TRUE(QFile::exists(outside));
    ASSERT_EQ(launcher_->started.size(), 1u);
    EXPECT_EQ(launcher_->started[0].arguments, QStringList{outside});
    QDir::setCurrent(before);
}

class OtherTypesTest : public DialogTest {};

TEST_F(OtherTypesTest, OpenOnTheFrameAndKeepTheirSettings) {
    Add("Play", "Main");
    ModuleRecord& hangup = Add("Hangup the Call", "Bye");
    hangup.PathText = "on {1} goto [Main]"; // a hang-up has no paths: left as it is
    ModuleRecord& dde = Add("DDE", "Notify");
    dde.strDdeCommand = "[Open]";
    dde.PathText = "ON {Success}   GOTO [Main]";
    Show();
    ModuleDialog* bye = Open("Bye");
    EXPECT_EQ(bye->objectName(), "frmDbiHangupCall");
    EXPECT_EQ(bye->Paths(), nullptr);
    EXPECT_EQ(Tables().Module(ModuleTitled("Bye")).PathText, "on {1} goto [Main]");
    ModuleDialog* notify = Open("Notify");
    EXPECT_EQ(notify->objectName(), "frmDbiDde");
    EXPECT_EQ(Tables().Module(ModuleTitled("Notify")).strDdeCommand, "[Open]");
    EXPECT_EQ(Tables().Module(ModuleTitled("Notify")).PathText, "on {Success} goto [Main]\r\n");
}

} // namespace
} // namespace ry::test
