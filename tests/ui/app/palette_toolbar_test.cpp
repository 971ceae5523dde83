// The module palette, the toolbar, View > Toolbar, and the Find module, About and input
// dialogs.

#include "ui/canvas/editing_fixture.h"

#include "app/about_dialog.h"
#include "app/palette.h"
#include "app/toolbar.h"
#include "canvas/path_commands.h"
#include "settings/engine_settings.h"

#include "temp_dir.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolBar>

namespace ry::test {
namespace {

using PaletteAndToolbar = EditingTest;

Palette& PaletteOf(MainWindow& main) {
    return *main.findChild<Palette*>(QStringLiteral("asxToolbarModules"));
}
MainToolbar& ToolbarOf(MainWindow& main) {
    return *main.findChild<MainToolbar*>(QStringLiteral("pictToolBar"));
}

TEST_F(PaletteAndToolbar, ThePaletteHasOneButtonPerToolWithItsTooltip) {
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Arrow", ""},
        {"Play", "Play Sound File"},
        {"Record", "Record Sound File"},
        {"Get Numbers", "Capture Entered Number"},
        {"Say Numbers", "Speak Number/Amount/Date etc."},
        {"Transfer Call", "Transfer Call"},
        {"Phone Message", "Send Voice Message to Telephone"},
        {"Pager Message", "Send Pager Message"},
        {"Send Email", "Send Email"},
        {"Database Query", "Query Database"},
        {"Run Program", "Run Another Program"},
        {"Time Switch", "Time Switch"},
        {"Evaluate", "Evaluate Expression"},
        {"Run VB Script", "Run VB Script"},
        {"DDE", "Dynamic Data Exchange"},
        {"Hangup the Call", "Hangup Call"},
        {"Dial and Conference", "Dial and Conference"},
    };
    const QList<QAction*> buttons = PaletteOf(*main_).actions();
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(buttons[i]->objectName(), QLatin1String(expected[i].first));
        if (*expected[i].second) {
            EXPECT_EQ(buttons[i]->toolTip(), QLatin1String(expected[i].second));
        }
        EXPECT_EQ(buttons[i]->isChecked(), i == 0) << expected[i].first;
    }
}

TEST_F(PaletteAndToolbar, EveryOpenCanvasShowsThePointerOfTheTool) {
    main_->NewScript();
    std::vector<DocumentWindow*> windows;
    for (int slot = 1; slot <= designer_->DocumentSlotCount(); ++slot)
        if (DocumentWindow* w = designer_->Document(slot))
            windows.push_back(w);
    ASSERT_EQ(windows.size(), 2u);
    auto shapes = [&] {
        std::vector<Qt::CursorShape> out;
        for (DocumentWindow* w : windows)
            out.push_back(w->View().viewport()->cursor().shape());
        return out;
    };
    Palette& palette = PaletteOf(*main_);
    QSignalSpy tools(designer_.get(), &Designer::currentToolChanged);

    palette.Button(QStringLiteral("Play"))->trigger();
    EXPECT_EQ(designer_->CurrentTool(), QStringLiteral("Play"));
    EXPECT_EQ(shapes(), (std::vector<Qt::CursorShape>{Qt::CrossCursor, Qt::CrossCursor}));

    // The pressed button again: it stays pressed and nothing changes.
    palette.Button(QStringLiteral("Play"))->trigger();
    EXPECT_TRUE(palette.Button(QStringLiteral("Play"))->isChecked());
    EXPECT_EQ(tools.count(), 1);

    palette.Button(QStringLiteral("Arrow"))->trigger();
    EXPECT_EQ(shapes(), (std::vector<Qt::CursorShape>{Qt::ArrowCursor, Qt::ArrowCursor}));
    EXPECT_FALSE(palette.Button(QStringLiteral("Play"))->isChecked());

    // A tool chosen elsewhere (File > New goes back to the arrow) shows on the palette too.
    palette.Button(QStringLiteral("DDE"))->trigger();
    main_->NewScript();
    EXPECT_TRUE(palette.Button(QStringLiteral("Arrow"))->isChecked());
}

TEST_F(PaletteAndToolbar, ViewToolbarShowsAndHidesTheToolbar) {
    QAction* item = main_->MenuAction(QStringLiteral("mnuView(0)"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Toolbar"));
    EXPECT_TRUE(item->isChecked());
    auto* view = main_->findChild<QMenu*>(QStringLiteral("mnuTop(2)"));
    EXPECT_EQ(view->actions().indexOf(item) + 1,
              view->actions().indexOf(main_->MenuAction(QStringLiteral("mnuView(1)"))));
    item->trigger();
    EXPECT_TRUE(ToolbarOf(*main_).isHidden());
    item->trigger();
    EXPECT_FALSE(ToolbarOf(*main_).isHidden());
}

TEST_F(PaletteAndToolbar, SetAndRunMakesTheScriptTheEnginesOnEveryLine) {
    struct Case {
        int lines;
    };
    for (const Case tc : {Case{0}, Case{3}}) {
        SCOPED_TRACE(tc.lines);
        Start("[LineConfig]\r\nTapiDeviceCount=" + std::to_string(tc.lines) +
              "\r\n[TapiDevice4]\r\nScript=other.rys\r\n");
        const std::string file = folder_->filePath(QStringLiteral("Line.rys")).toStdString();
        Window().Document().Record().FileName = file;
        WriteFile(ToQt(file), "");

        ToolbarOf(*main_).Button(QStringLiteral("Set and Run Current Script"))->trigger();

        IniFile& ini = designer_->Ini();
        EXPECT_EQ(ini.IniReadString("CTMedia", "DefaultScript"), file);
        for (int n = 1; n <= 4; ++n) {
            const std::string expected = n <= tc.lines ? file : n == 4 ? "other.rys" : "";
            EXPECT_EQ(ini.IniReadString("TapiDevice" + std::to_string(n), "Script"), expected) << n;
        }
        ASSERT_EQ(launcher_->started.size(), 1u);
        EXPECT_EQ(QDir::cleanPath(launcher_->started[0].program),
                  QDir::cleanPath(folder_->filePath(QStringLiteral("RyMulti.exe"))));
        EXPECT_TRUE(prompter_.messages.empty());
    }
}

TEST_F(PaletteAndToolbar, SetAndRunRefusesADamagedLineCountAndWritesNothing) {
    for (const char* count : {"1001", "2147483647", "0x7fffffff"}) {
        SCOPED_TRACE(count);
        Start(std::string("[LineConfig]\r\nTapiDeviceCount=") + count + "\r\n");
        const std::string file = folder_->filePath(QStringLiteral("Line.rys")).toStdString();
        Window().Document().Record().FileName = file;
        WriteFile(ToQt(file), "");
        const std::string iniBefore = ReadAll(IniPath().toStdString());

        ToolbarOf(*main_).Button(QStringLiteral("Set and Run Current Script"))->trigger();

        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_TRUE(prompter_.MessageTexts()[0].contains(QStringLiteral("at most 1000 lines")));
        EXPECT_EQ(ReadAll(IniPath().toStdString()), iniBefore);
        EXPECT_TRUE(launcher_->started.empty());
        prompter_.messages.clear();
    }
}

TEST_F(PaletteAndToolbar, SetAndRunOnAnUnsavedScriptOffersTheSaveInstead) {
    Start("[LineConfig]\r\nTapiDeviceCount=2\r\n");
    const std::string iniBefore = ReadAll(IniPath().toStdString());
    prompter_.choiceAnswers = {0};
    ToolbarOf(*main_).Button(QStringLiteral("Set and Run Current Script"))->trigger();
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{QStringLiteral("The script must be saved before running it.")});
    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_EQ(prompter_.fileRequests[0].kind, FileRequest::Save);
    EXPECT_TRUE(launcher_->started.empty());
    EXPECT_EQ(ReadAll(IniPath().toStdString()), iniBefore);
}

TEST_F(PaletteAndToolbar, CompanionButtonsStartTheirPrograms) {
    struct Case {
        const char* key;
        const char* program;
        QStringList arguments;
    };
    const Case cases[] = {
        {"Setup Wizard", "SetupAide.exe", {}},
        {"Voicemail Manager", "RyVmMgr.exe", {}},
        {"Call Log", "RyLv.exe", {QString()}}, // an unsaved script: the viewer starts without one
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.key);
        launcher_->started.clear();
        ToolbarOf(*main_).Button(QLatin1String(tc.key))->trigger();
        ASSERT_EQ(launcher_->started.size(), 1u);
        EXPECT_TRUE(launcher_->started[0].program.endsWith(QLatin1String(tc.program)));
        EXPECT_EQ(launcher_->started[0].arguments, tc.arguments);
    }
}

TEST_F(PaletteAndToolbar, FindModuleGoesToTheFirstOfEqualTitles) {
    ScriptDocument& doc = Doc();
    const int first = doc.Boxes().front();
    doc.MoveModules({{doc.ModuleOfBox(first), {40, 60}}});
    doc.RenameModule(doc.ModuleOfBox(first), QStringLiteral("Start"));
    const int dup1 = Place(QStringLiteral("Play"), {700, 900});
    const int dup2 = Place(QStringLiteral("Play"), {300, 400});
    ModuleIn(dup1).Title = "Menu";
    ModuleIn(dup2).Title = "Menu";
    const int last = Place(QStringLiteral("Hangup the Call"), {0, 0});
    ModuleIn(last).Title = "Bye";

    struct Case {
        int row;
        QPoint scrolledTo;
    };
    for (const Case tc : {Case{2, {700, 900}}, Case{1, {700, 900}}, Case{3, {0, 0}}}) {
        SCOPED_TRACE(tc.row);
        View().ScrollTo({1200, 1200});
        QStringList listed;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QStringLiteral("frmFindModule"));
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("listAllModulesInScript"));
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            list->setCurrentRow(tc.row);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdGoTo"))->click();
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        });
        main_->MenuAction(QStringLiteral("mnuFind(0)"))->trigger();
        EXPECT_EQ(listed, (QStringList{QStringLiteral("Start"), QStringLiteral("Menu"),
                                       QStringLiteral("Menu"), QStringLiteral("Bye")}));
        EXPECT_EQ(View().horizontalScrollBar()->value(), tc.scrolledTo.x());
        EXPECT_EQ(View().verticalScrollBar()->value(), tc.scrolledTo.y());
    }
}

TEST_F(PaletteAndToolbar, AboutShowsTheVersionAndStartsSystemInformationAndTheBrowser) {
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir bin;
    struct Case {
        const char* name;
        bool toolInstalled;
        bool browserStarts;
        QStringList messages;
    };
    const Case cases[] = {
        {"no system information program, no browser",
         false,
         false,
         {QStringLiteral("System Information Is Unavailable At This Time"),
          QStringLiteral("Could not start browser!")}},
        {"an information centre on the PATH and a browser", true, true, {}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        if (tc.toolInstalled) {
            WriteFile(bin.filePath(QStringLiteral("hardinfo")), "#!/bin/sh\n");
            QFile::setPermissions(bin.filePath(QStringLiteral("hardinfo")),
                                  QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        prompter_.messages.clear();
        launcher_->started.clear();
        launcher_->opened.clear();
        launcher_->openSucceeds = tc.browserStarts;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QStringLiteral("frmAbout"));
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Ryvane Script Designer"));
            EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("lblVersion"))
                            ->text()
                            .startsWith(QStringLiteral("Version 5.2.")));
            dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
            static_cast<AboutDialog&>(dialog).OpenLink();
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        });
        main_->MenuAction(QStringLiteral("mnuHelp(3)"))->trigger();
        qputenv("PATH", path);
        EXPECT_TRUE(prompter_.dialogs.empty());
        EXPECT_EQ(prompter_.MessageTexts(), tc.messages);
        ASSERT_EQ(launcher_->started.size(), tc.toolInstalled ? 1u : 0u);
        if (tc.toolInstalled) {
            EXPECT_EQ(launcher_->started[0].program, bin.filePath(QStringLiteral("hardinfo")));
        }
        ASSERT_EQ(launcher_->opened.size(), 1u);
        EXPECT_EQ(launcher_->opened[0], QUrl(designer_->BrandUrl()));
    }
}

} // namespace
} // namespace ry::test
