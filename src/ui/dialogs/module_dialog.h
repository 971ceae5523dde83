#pragma once

// The frame every module property dialog stands on: tabs of pages with a "Paths" tab last,
// the module title, Apply / OK / Cancel / Help, the dirty flag that Apply's enabled state
// shows, numeric fields that normalise themselves, and the sound-file rows with Select, Play,
// Stop and Record.
//
// A dialog edits a working view of one module; the module record changes only when Apply
// hands the fields to the document (ScriptDocument::ApplyModule) as one operation.
//
// A dialog of a type derives from ModuleDialog, builds its pages in its constructor with
// AddPage and the field helpers, and overrides LoadFields (the record into the controls) and
// ApplyFields (the controls into a copy of the record). The open-dialog table
// (ModuleDialogTable) creates it, gives it its trigger list and calls Load, which shows it.

#include "script/records.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

class QAbstractButton;
class QComboBox;
class QDateTimeEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace ry {

class Designer;
class DocumentWindow;
class PathsPanel;
class ScriptDocument;

// What the opener tells a new dialog: where its module is shown and which slot of the
// open-dialog table it holds.
struct ModuleDialogSetup {
    DocumentWindow* window = nullptr; // the document whose box opened the dialog
    std::int16_t module = -1;         // the module record edited
    std::int16_t script = -1;         // the script it belongs to
    int box = 0;                      // the module's box in that document
    int slot = 0;                     // the slot in the open-dialog table, from 1
    // The module dialog opened last and still open: this one opens offset from it, so that
    // neither hides the other.
    QPointer<QWidget> opensBeside;
};

// What makes one kind of dialog: its form name (objectName), its help topic (0: none) and
// whether it has a Paths tab.
struct ModuleDialogForm {
    QString name;
    int helpTopic = 0;
    bool hasPaths = true;
};

// A sound-file row: the file's box and its buttons (Play, Stop and Record may be absent).
struct SoundRow {
    QLineEdit* file = nullptr;
    QPushButton* select = nullptr;
    QPushButton* play = nullptr;
    QPushButton* stop = nullptr;
    QPushButton* record = nullptr;
};

class ModuleDialog : public QDialog {
    Q_OBJECT
public:
    ~ModuleDialog() override;

    Designer& designer() { return designer_; }
    // The module (iLocalModuleIdx) and script (iLocalRysIdx) edited, the box and document that
    // show it (iDoBoxIdx, frmParentForm) and the slot held (iThisFrmI).
    std::int16_t ModuleIndex() const { return setup_.module; }
    std::int16_t ScriptIndex() const { return setup_.script; }
    int BoxIndex() const { return setup_.box; }
    int Slot() const { return setup_.slot; }
    DocumentWindow* ParentForm() const;
    // The paths panel (frmPaths) in the Paths tab; null for a dialog without paths.
    PathsPanel* Paths() const { return paths_; }
    const ModuleDialogForm& Form() const { return form_; }

    // Fills the dialog from the module, shows it, and applies once, so that it opens clean
    // with the module's values stored in their normal form.
    void Load();
    // Writes the fields, a path still chosen in the Paths tab and the title into the module.
    void Apply();
    // Apply, then close.
    void Ok();
    // Unsaved changes: Apply is enabled.
    bool IsDirty() const;
    // An edit of a field: Apply becomes enabled. Ignored while the dialog fills its fields.
    void MarkDirty();

    QTabWidget& Tabs() { return *tabs_; }
    int CurrentTab() const;
    void SelectTab(int index);
    // The tab after the current one, the first after the last (Ctrl+Tab); the one before,
    // the last before the first (Ctrl+Shift+Tab).
    void NextTab();
    void PreviousTab();

    // Closes without the question about unsaved changes (the module was deleted, or its
    // document is going away).
    void CloseWithoutAsking();
    // Its document is about to close: unapplied edits are applied on Yes and left on No;
    // false on Cancel. The dialog stays open either way.
    bool SettleEdits();

    // Modules of the script came or went: the destination list is filled again.
    void RefreshDestinations();
    // A module of the script was renamed: the destination list is filled again, and the path
    // text shows the stored one or, when it holds unapplied edits, has the rename made in it.
    // A rename of this very module (on its box) shows in the title field unless that was
    // being edited.
    void TitleRenamed(std::int16_t module, const QString& newTitle);
    // The module's stored path text changed outside the dialog; shown unless being edited.
    void StoredPathsChanged();
    // An undo or redo put back the module's settings: a dialog without unapplied edits shows
    // them; one with edits keeps the user's, as for a rename or new paths, and its Apply
    // stores them over the restored ones (a step of its own).
    void ModuleRestored();

signals:
    // The dialog closed; its slot is free again.
    void closed(int slot);

protected:
    ModuleDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

    // The type's fields from the module record (load step 6). Runs with edits ignored.
    virtual void LoadFields(const ModuleRecord& module) = 0;
    // The type's fields into `module`, a copy of the record (Apply step 1).
    virtual void ApplyFields(ModuleRecord& module) = 0;
    // Whether load selects the first tab before the closing Apply; most dialogs do.
    virtual bool SelectsFirstTabOnLoad() const { return true; }

    // ---- Building the pages.
    // A new tab (before "Paths") and its page "picOptions(i)".
    QWidget* AddPage(const QString& caption, const QString& toolTip = {});
    // The grid most pages lay their rows out in.
    static QGridLayout* PageGrid(QWidget* page);
    // A page holding one frame captioned `caption` above empty space; the frame's grid, whose
    // second column takes the width.
    static QGridLayout* FramedGrid(QWidget* page, const QString& caption);
    // A label "name" with `text`.
    static QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent);
    // A line edit, a multi-line box, ... named `name`, whose edits enable Apply.
    QLineEdit* MakeLineEdit(const QString& name, QWidget* parent, const QString& toolTip = {});
    QPlainTextEdit* MakeTextBox(const QString& name, QWidget* parent, bool fixedPitch = false);
    // Numbers, commands and code line up in the fixed-pitch font.
    static void SetFixedPitch(QWidget* field);
    // Makes an existing control's edits enable Apply.
    void WatchEdits(QLineEdit* field);
    void WatchEdits(QPlainTextEdit* field);
    void WatchEdits(QComboBox* field);
    void WatchEdits(QAbstractButton* field);
    void WatchEdits(QDateTimeEdit* field);

    // A numeric field: leaving it replaces its text by ClampNumberText(text, min, max).
    QLineEdit* MakeNumberField(const QString& name, QWidget* parent, int min, int max,
                               const QString& toolTip = {});
    void MakeNumeric(QLineEdit* field, int min, int max);
    // Normalises a numeric field as leaving it does.
    void ClampField(QLineEdit* field);
    // The whole number a numeric field holds; text that is not one is first normalised.
    std::int16_t NumberValue(QLineEdit* field);

    // A "picks the file for this box" action: given the box's text, the chosen file or "".
    using FileChooser = std::function<QString(const QString& current)>;
    // A row of `grid`: label, the box "txtSoundFile(boxIndex)" and the buttons
    // "cmdSoundFileSelect(buttonIndex)", "cmdPlayStart(..)", "cmdPlayStop(..)", "cmdRec(..)".
    // An index below 0 leaves the names without one. `choose` defaults to the sound-file
    // dialog; without `playButtons` the row has Select only.
    SoundRow AddSoundRow(QGridLayout* grid, int row, const QString& label, int boxIndex,
                         int buttonIndex, bool playButtons = true, FileChooser choose = {});
    // A row of `grid` with a file box and a single Select button, named as the dialog names
    // them rather than as the "txtSoundFile" rows: the label (named `labelName` when given),
    // the box `boxName` in column 1 and the button `buttonName` with `caption` in column 2,
    // which puts the file `choose` picks (a sound file when empty) into the box.
    struct FileRow {
        QLabel* label = nullptr;
        QLineEdit* file = nullptr;
        QPushButton* select = nullptr;
    };
    FileRow AddFileRow(QGridLayout* grid, int row, const QString& label, const QString& boxName,
                       const QString& buttonName, const QString& caption, FileChooser choose = {},
                       const QString& labelName = {});
    // A file box wide enough for a path: about this many characters.
    static constexpr int kFileFieldCharacters = 42;
    static void SetFileFieldWidth(QLineEdit* field);
    // The buttons' actions, for rows laid out otherwise.
    void SelectSoundFile(QLineEdit* box, const FileChooser& choose = {});
    void PlaySoundFile(const QString& file);
    void StopSound();
    // Starts the sound recorder on a file, made from the template recording when missing.
    void RecordSoundFile(const QString& file);

    // Control names of arrays: "txtSoundFile(0)"; `index` below 0 gives the plain name.
    static QString Indexed(const QString& name, int index);

    // Multi-line boxes hold LF line ends; the module's text holds CR LF.
    static QString FromStored(const std::string& text);
    static std::string ToStored(const QString& text);

    bool IsLoading() const { return loading_ > 0; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    class LoadingScope;
    ScriptDocument* Document() const;
    void ShowTitle(const QString& title);
    void BuildPathsPage();
    void WatchKeys();
    // At most the screen's available size, however long a text in it.
    void FitToScreen();
    void PlaceBesideTheLastOpened();
    // With unapplied edits: "Save changes to the module?"; Yes applies them. False on Cancel.
    bool AskToApply();

    Designer& designer_;
    ModuleDialogSetup setup_;
    ModuleDialogForm form_;
    QPointer<DocumentWindow> window_;
    QTabWidget* tabs_;
    QLineEdit* title_;
    QPushButton* apply_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    PathsPanel* paths_ = nullptr;
    std::map<QLineEdit*, std::pair<int, int>> numberRanges_;
    QString shownTitle_; // the title last put into the title field
    int loading_ = 0;
    bool applying_ = false;
    bool closeWithoutAsking_ = false;
    bool closedSignalled_ = false;
};

} // namespace ry
