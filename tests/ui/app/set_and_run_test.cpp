// The toolbar's Set and Run and the RY.INI it writes, named in any language.

#include "designer_fixture.h"

#include "app/toolbar.h"
#include "base/text_codec.h"
#include "settings/profile_file.h"

#include <filesystem>

namespace ry::test {
namespace {

const QByteArray kScript = "Version=5.0\r\nStartModule=Desk\r\n\r\n[Desk]\r\nType=Play\r\n"
                           "Position=10,10\r\n";

using RyIniWrites = DesignerTest;

// Set and Run starts the engine only once RY.INI holds the script for every line.
TEST_F(RyIniWrites, SetAndRunStopsAtAFailedRyIniWrite) {
    const QString ini =
        WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=2\r\n");
    MakeMain();
    const QString path = WriteFile(QStringLiteral("desk.rys"), kScript);
    ASSERT_NE(OpenInMain(path), nullptr);
    launcher_->startable.insert(ProgramFolder() + "/RyMulti.exe");

    // A RY.INI that cannot be written (too large here; read-only or in a read-only folder for
    // an ordinary user) is named with the reason.
    std::filesystem::resize_file(HostPath(ini), kProfileSizeLimit + 1);
    prompter_.messages.clear();
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(launcher_->started.empty());
    ASSERT_FALSE(prompter_.messages.empty());
    EXPECT_EQ(prompter_.messages.back().text,
              "Could not write " + ini +
                  ": larger than 16 MiB, the most that is read\r\nThe engine was not started.");

    // A script name that RY.INI cannot hold would send the engine to another file.
    WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=1\r\n");
    const QString japanese = WriteFile(QStringLiteral("日本.rys"), kScript);
    ASSERT_NE(OpenInMain(japanese), nullptr);
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(launcher_->started.empty());
    EXPECT_TRUE(prompter_.messages.back().text.contains("characters that RY.INI cannot hold"));
    EXPECT_EQ(Slurp(ini), "[LineConfig]\r\nTapiDeviceCount=1\r\n");

    // A name it can hold is written in its Windows-1252 form, and the engine starts.
    const QString french = WriteFile(QStringLiteral("café.rys"), kScript);
    ASSERT_NE(OpenInMain(french), nullptr);
    SetAndRunCurrentScript(D(), Main());
    EXPECT_EQ(launcher_->started.size(), 1u);
    EXPECT_TRUE(Slurp(ini).contains(QByteArray("Script=") + QFile::encodeName(ProgramFolder()) +
                                    "/caf\xe9.rys\r\n"))
        << Slurp(ini).toStdString();
}

// Set and Run with edits not saved asks first: save them, run the file as saved, or nothing.
TEST_F(RyIniWrites, SetAndRunAsksBeforeRunningAScriptWithUnsavedEdits) {
    enum Choice { kSave, kRunSaved, kCancel };
    struct Case {
        const char* name;
        Choice choice;
        bool started;
        bool editSaved;
    };
    const Case cases[] = {
        {"save", kSave, true, true},
        {"run the saved file", kRunSaved, true, false},
        {"cancel", kCancel, false, false},
    };
    const QString ini =
        WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=1\r\n");
    MakeMain();
    launcher_->startable.insert(ProgramFolder() + "/RyMulti.exe");
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        const QString path = WriteFile(QString::fromLatin1(tc.name) + ".rys", kScript);
        ASSERT_NE(OpenInMain(path), nullptr);
        Doc().SetCtmAsiName(QStringLiteral("Sales"));
        ASSERT_TRUE(Doc().Record().Modified);
        prompter_.messages.clear();
        launcher_->started.clear();
        prompter_.choiceAnswers = {tc.choice};

        SetAndRunCurrentScript(D(), Main());

        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_EQ(prompter_.messages[0].text,
                  "The script has changes that are not saved.\r\nSave them before running it, or "
                  "run the saved file without them?");
        EXPECT_EQ(prompter_.messages[0].choices,
                  QStringList({"&Save", "&Run the Saved File", "Cancel"}));
        EXPECT_EQ(launcher_->started.size(), tc.started ? 1u : 0u);
        EXPECT_EQ(Slurp(path).contains("CtmAsiName=Sales"), tc.editSaved);
        EXPECT_EQ(Doc().Record().Modified, !tc.editSaved);
        EXPECT_EQ(Slurp(ini).contains(QFile::encodeName(path)), tc.started);
    }

    // Saved, the script runs without a question.
    prompter_.messages.clear();
    launcher_->started.clear();
    Main().SaveActive(0);
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_EQ(launcher_->started.size(), 1u);
}

// A script never saved has no file to run: it is saved first, or nothing happens.
TEST_F(RyIniWrites, SetAndRunSavesANewScriptFirst) {
    const QString ini =
        WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=1\r\n");
    MakeMain();
    launcher_->startable.insert(ProgramFolder() + "/RyMulti.exe");
    const QString path = folder_.filePath(QStringLiteral("new.rys"));

    // Cancel at the question, then Save and Cancel at the file dialog: nothing runs.
    prompter_.choiceAnswers = {1, 0};
    SetAndRunCurrentScript(D(), Main());
    SetAndRunCurrentScript(D(), Main());
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(prompter_.messages[0].text, "The script must be saved before running it.");
    EXPECT_EQ(prompter_.messages[0].choices, QStringList({"&Save", "Cancel"}));
    EXPECT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_TRUE(launcher_->started.empty());

    // Saved under a name, it runs.
    prompter_.choiceAnswers = {0};
    prompter_.files = {path};
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(launcher_->started.size(), 1u);
    EXPECT_TRUE(Slurp(ini).contains("Script=" + QFile::encodeName(path)));
}

} // namespace
} // namespace ry::test
