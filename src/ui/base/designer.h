#pragma once

// The program-wide state of the designer: the record tables, the engine settings, the open
// documents and the palette's current tool. The application owns one Designer and passes it
// by reference; every test makes its own.

#include "base/companions.h"
#include "base/file_dialogs.h"
#include "base/module_dialog_host.h"
#include "base/open_document.h"
#include "base/paste_guard.h"
#include "base/prompter.h"
#include "base/recent_files.h"
#include "base/script_commands.h"

#include "canvas/around_boxes.h"
#include "script/host.h"
#include "script/protected_script.h"
#include "script/records.h"
#include "settings/engine_settings.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace ry {

class SavePasswordDialog;

inline constexpr const char* kArrowTool = "Arrow";

class Designer : public QObject {
    Q_OBJECT
public:
    // `programFolder` empty: the folders of this run (DesignerFolders, base/program_folders.h).
    explicit Designer(Prompter& prompter, const QString& programFolder = {},
                      QObject* parent = nullptr);
    ~Designer() override;

    // RY.INI of the program folder: every engine setting and the brand.
    void ReadSettings();

    ScriptTables& Tables() { return *tables_; }
    ProtectedWriter& Writer() { return writer_; }
    EngineSettings& Settings() { return settings_; }
    IniFile& Ini() { return *ini_; }
    Prompter& Prompts() { return prompter_; }
    // The core's questions and messages, answered by the designer's windows.
    Host& CoreHost() { return *host_; }
    // The dialog asking for the password of a protected save, while one waits for it.
    SavePasswordDialog* SavePasswordPrompt() const;
    FileDialogs& Files() { return files_; }
    RecentFiles& Recent() { return recent_; }
    // The open module dialogs; none open, and none can, until a table is installed.
    ModuleDialogHost& Dialogs() { return dialogs_ ? *dialogs_ : noDialogs_; }
    void SetModuleDialogs(ModuleDialogHost* dialogs) { dialogs_ = dialogs; }
    bool HasModuleDialogs(const ModuleDialogHost* dialogs) const { return dialogs_ == dialogs; }
    Companions& Programs() { return companions_; }
    // The saves of documents; none succeeds until a saver is installed.
    DocumentSaver& Saver() { return saver_ ? *saver_ : noSaver_; }
    void SetSaver(DocumentSaver* saver) { saver_ = saver; }
    bool HasSaver(const DocumentSaver* saver) const { return saver_ == saver; }

    // RY.INI, Scripts, the companion programs; for an installed designer the user's folder.
    QString ProgramFolder() const { return programFolder_; }
    // The read-only data shipped with the designer (the help); the program folder unless
    // installed.
    QString DataFolder() const { return dataFolder_; }
    QString BrandName() const;
    QString BrandUrl() const;

    // A message box titled with the brand name, owned by `owner` or the active window.
    MessageAnswer Message(const QString& text, MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok, QWidget* owner = nullptr);
    // Tells the user when the user's settings file cannot be used (see CRegistry).
    void WarnOfUnusableSettings();
    void ShowStatusText(const QString& text) { emit statusTextChanged(text); }

    // The palette's choice: "Arrow" or a module type name.
    QString CurrentTool() const { return currentTool_; }
    void SetCurrentTool(const QString& tool);
    bool IsArrowTool() const { return currentTool_ == QLatin1String(kArrowTool); }

    // Height of new boxes and of boxes whose stored height is below 1.
    int DefaultDisplayHeight() const { return defaultDisplayHeight_; }
    void SetDefaultDisplayHeight(int height);

    // The canvas of every document, from the settings (at least 2000 x 2000).
    QSize CanvasSize() const;

    // Whether connectors carry their trigger labels on every canvas (View > Path Labels).
    bool PathLabels() const { return pathLabels_; }
    void SetPathLabels(bool shown);
    // Whether boxes show their key settings on a line under their text (View > Show Settings);
    // pictures and printing show what the canvas shows. On until set otherwise; the main
    // window and the picture command set it as the user last left it.
    bool BoxSettings() const { return boxSettings_; }
    void SetBoxSettings(bool shown);
    // How connectors are routed (View > Route Style).
    RouteStyle ConnectorRouteStyle() const { return routeStyle_; }
    void SetRouteStyle(RouteStyle style);

    // The module copied by Edit > Copy module.
    std::optional<ModuleRecord>& ModuleClipboard() { return clipboard_; }

    // Documents by slot, 1-based; a closed window leaves its slot empty for reuse.
    int DocumentSlotCount() const { return static_cast<int>(documents_.size()); }
    OpenDocument* DocumentInSlot(int slot) const;
    DocumentWindow* Document(int slot) const;
    // The first empty slot, or a new one at the end.
    int TakeDocumentSlot(OpenDocument& document);
    // Empties the slot and says so (documentReleased).
    void ReleaseDocumentSlot(int slot);
    int OpenDocumentCount() const;
    int CurrentDocument() const { return currentDocument_; }
    void SetCurrentDocument(int slot) { currentDocument_ = slot; }
    DocumentWindow* ActiveDocument() const { return Document(currentDocument_); }
    // The document showing a script, if any.
    OpenDocument* OpenDocumentOfScript(int script) const;
    DocumentWindow* DocumentOfScript(int script) const;

signals:
    void statusTextChanged(const QString& text);
    void currentToolChanged(const QString& tool);
    void defaultDisplayHeightChanged(int height);
    void pathLabelsChanged(bool shown);
    void boxSettingsChanged(bool shown);
    void routeStyleChanged();
    void documentReleased(int slot);

private:
    class CoreHostImpl;
    void AskSavePassword(std::int16_t script);

    Prompter& prompter_;
    QString programFolder_;
    QString dataFolder_;
    std::unique_ptr<ScriptTables> tables_;
    ProtectedWriter writer_;
    EngineSettings settings_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<IniFile> ini_;
    FileDialogs files_{*this};
    RecentFiles recent_;
    class NoModuleDialogs : public ModuleDialogHost {
    public:
        void DbInfoFormShow(DocumentWindow&, std::int16_t, int) override {}
        void CloseForScript(std::int16_t) override {}
        bool CloseAll(std::int16_t = 0) override { return true; }
        bool SettleEdits(std::int16_t) override { return true; }
        ModuleDialog* DialogOfModule(std::int16_t) const override { return nullptr; }
        int OpenCount() const override { return 0; }
    };
    NoModuleDialogs noDialogs_;
    ModuleDialogHost* dialogs_ = nullptr;
    class NoSaver : public DocumentSaver {
    public:
        SaveOutcome Save(DocumentWindow&, int) override { return SaveOutcome::Failed; }
        SaveOutcome CompleteProtectedSave(const QString&) override { return SaveOutcome::Failed; }
    };
    NoSaver noSaver_;
    DocumentSaver* saver_ = nullptr;
    Companions companions_{*this};
    QString currentTool_ = QLatin1String(kArrowTool);
    int defaultDisplayHeight_;
    bool pathLabels_ = true;
    bool boxSettings_ = true;
    RouteStyle routeStyle_ = RouteStyle::AroundBoxes;
    std::optional<ModuleRecord> clipboard_;
    // No text field of the program pastes from an empty clipboard.
    PasteGuard pasteGuard_;
    // A document, and its widget to see that it is still there.
    struct DocumentSlot {
        OpenDocument* document = nullptr;
        QPointer<QWidget> widget;
    };
    std::vector<DocumentSlot> documents_;
    int currentDocument_ = 0;
    QPointer<SavePasswordDialog> savePassword_;
};

} // namespace ry
