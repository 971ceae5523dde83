#include "app/toolbar.h"

#include "app/main_window.h"
#include "base/designer.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QStyle>

#include <string>

namespace ry {

namespace {

struct ToolbarButton {
    const char* key;
    QStyle::StandardPixmap icon;
};

constexpr ToolbarButton kButtons[] = {
    {"New", QStyle::SP_FileIcon},
    {"Open", QStyle::SP_DialogOpenButton},
    {"Save", QStyle::SP_DialogSaveButton},
    {"Script Properties", QStyle::SP_FileDialogDetailedView},
    {"Set and Run Current Script", QStyle::SP_MediaPlay},
    {"Setup Wizard", QStyle::SP_ComputerIcon},
    {"Voicemail Manager", QStyle::SP_DriveNetIcon},
    {"Delete", QStyle::SP_TrashIcon},
    {"Call Log", QStyle::SP_FileDialogListView},
};

// The script of the active document, or 0 when there is none.
std::int16_t ActiveScript(MainWindow& main) {
    DocumentWindow* window = main.ActiveDocumentWindow();
    if (!window || !ScriptTables::IsScriptIndex(window->Script()))
        return 0;
    return window->Script();
}

} // namespace

const QStringList& MainToolbar::Keys() {
    static const QStringList keys = [] {
        QStringList out;
        for (const ToolbarButton& b : kButtons)
            out << QLatin1String(b.key);
        return out;
    }();
    return keys;
}

MainToolbar::MainToolbar(MainWindow& main, Designer& designer)
    : QToolBar(QStringLiteral("Toolbar"), &main), main_(main), designer_(designer) {
    setObjectName(QStringLiteral("pictToolBar"));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* style = QApplication::style();
    for (const ToolbarButton& b : kButtons) {
        const QString key = QLatin1String(b.key);
        QAction* button = addAction(style->standardIcon(b.icon), key);
        button->setObjectName(key);
        connect(button, &QAction::triggered, this, [this, key] { Clicked(key); });
    }
}

QAction* MainToolbar::Button(const QString& key) const {
    for (QAction* action : actions())
        if (action->objectName() == key)
            return action;
    return nullptr;
}

void MainToolbar::Clicked(const QString& key) {
    if (key == QLatin1String("New")) {
        main_.NewScript();
    } else if (key == QLatin1String("Open")) {
        main_.OpenScriptDialog();
    } else if (key == QLatin1String("Save")) {
        main_.SaveActive(0);
    } else if (key == QLatin1String("Delete")) {
        main_.DeleteModule();
    } else if (key == QLatin1String("Script Properties")) {
        // The same dialog as Edit > Script Properties: a button that did nothing would only
        // puzzle.
        if (QAction* item = main_.MenuAction(QStringLiteral("mnuEdit(4)")))
            item->trigger();
    } else if (key == QLatin1String("Set and Run Current Script")) {
        SetAndRunCurrentScript(designer_, main_);
    } else if (key == QLatin1String("Setup Wizard")) {
        designer_.Programs().RunSetupAide();
    } else if (key == QLatin1String("Voicemail Manager")) {
        designer_.Programs().RunVoicemailManager();
    } else if (key == QLatin1String("Call Log")) {
        if (const std::int16_t script = ActiveScript(main_))
            designer_.Programs().RunCallLog(
                FromHostPath(designer_.Tables().Script(script).FileName));
    }
}

// The most telephone lines "Set and Run Current Script" sets the script for.
constexpr std::int32_t kMaxTapiDevices = 1000;

namespace {

// Before the engine is set to the script's file: the edits not yet saved are saved, or left
// out when the user runs the saved file as it is. False when the run is not to go on.
bool SavedForRunning(Designer& designer, MainWindow& main, DocumentWindow& window) {
    window.CommitEdits();
    const ScriptRecord& s = designer.Tables().Script(window.Script());
    const bool onDisk = !s.FileName.empty() && QFileInfo(FromHostPath(s.FileName)).isFile();
    if (onDisk && !s.Modified)
        return true;
    enum { kSave, kRunSaved };
    const int choice =
        onDisk ? designer.Prompts().Choose(
                     &main, designer.BrandName(),
                     QStringLiteral("The script has changes that are not saved.\r\nSave them "
                                    "before running it, or run the saved file without them?"),
                     MessageIcon::Question,
                     {QStringLiteral("&Save"), QStringLiteral("&Run the Saved File"),
                      QStringLiteral("Cancel")})
               : designer.Prompts().Choose(
                     &main, designer.BrandName(),
                     QStringLiteral("The script must be saved before running it."),
                     MessageIcon::Question, {QStringLiteral("&Save"), QStringLiteral("Cancel")});
    if (onDisk && choice == kRunSaved)
        return true;
    // A protected save waits for its password: the run is asked for again once saved.
    return choice == kSave && SaveScript(designer, window, 0) == SaveOutcome::Saved;
}

} // namespace

void SetAndRunCurrentScript(Designer& designer, MainWindow& main) {
    const std::int16_t script = ActiveScript(main);
    if (!script || !SavedForRunning(designer, main, *main.ActiveDocumentWindow()))
        return;
    const std::string file = designer.Tables().Script(script).FileName;
    IniFile& ini = designer.Ini();
    // A count beyond any line board is a damaged RY.INI: setting that many devices would fill
    // the file with sections (and take hours), so nothing is written and the engine waits.
    const std::int32_t lines = ini.IniReadInt("LineConfig", "TapiDeviceCount");
    if (lines > kMaxTapiDevices) {
        designer.Message(QStringLiteral("RY.INI gives %1 lines in TapiDeviceCount of section "
                                        "[LineConfig]; a script can be set for at most %2 lines. "
                                        "Correct RY.INI, then run the script again.")
                             .arg(lines)
                             .arg(kMaxTapiDevices),
                         MessageIcon::Exclamation, MessageButtons::Ok, &main);
        return;
    }
    // RY.INI holds Windows-1252: a name it cannot hold would send the engine elsewhere.
    if (!FitsCp1252(FromHostPath(file))) {
        designer.Message(FromHostPath(file) +
                             QStringLiteral("\r\nThis name holds characters that RY.INI cannot "
                                            "hold. Save the script under another name, then run "
                                            "it again."),
                         MessageIcon::Exclamation, MessageButtons::Ok, &main);
        return;
    }
    // Every write must reach RY.INI, or the engine would start with another script.
    const std::string stored = FromQt(FromHostPath(file));
    for (std::int32_t n = 0; n <= lines; ++n) {
        const std::string section = n == 0 ? "CTMedia" : "TapiDevice" + std::to_string(n);
        ini.IniWriteString(section, n == 0 ? "DefaultScript" : "Script", stored);
        if (ini.LastIniWriteResult() == 0) {
            designer.Message(QStringLiteral("Could not write ") + FromHostPath(ini.IniPath()) +
                                 QStringLiteral(": ") + ToQt(ini.LastIniWriteError()) +
                                 QStringLiteral("\r\nThe engine was not started."),
                             MessageIcon::Exclamation, MessageButtons::Ok, &main);
            return;
        }
    }
    designer.Programs().RunEngine();
}

} // namespace ry
