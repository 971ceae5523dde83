#pragma once

// One open script as the canvas edits it: the script's records, the boxes that show its
// modules, the selection, and the operations that change the document. Every edit of a
// document goes through the operations here (place, move, delete, paste, rename, box text,
// add path, height, start module, a dialog's Apply, script properties), so that the view, the
// modified mark and the undo history all follow from one place.

#include "paths/rename.h"
#include "script/records.h"
#include "script/saver.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QUndoStack;

namespace ry {

class Designer;
class DocumentHistory;

class ScriptDocument : public QObject, public BoxSource {
    Q_OBJECT
public:
    ScriptDocument(Designer& designer, std::int16_t script, QObject* parent = nullptr);
    ~ScriptDocument() override;

    Designer& designer() { return designer_; }
    ScriptTables& Tables();
    const ScriptTables& Tables() const;
    std::int16_t Script() const { return script_; }
    ScriptRecord& Record();
    const ScriptRecord& Record() const;
    ModuleRecord& Module(std::int16_t module);

    // Shows another script in this document (the loaded one replacing the provisional one).
    // Boxes are not touched; the undo history, which was about the other script, is dropped.
    void SetScript(std::int16_t script);

    // ---- Boxes: one per module, numbered from 1; the lowest free number is used first.
    int BoxSlotCount() const { return static_cast<int>(boxes_.size()); }
    bool HasBox(int box) const;
    std::int16_t ModuleOfBox(int box) const;
    int BoxHeight(int box) const;
    // Box numbers in use, in ascending order.
    std::vector<int> Boxes() const;

    // Makes a box for an existing module (module >= 1) at its stored position, or for a new
    // module of the current tool's type at (x, y) (module < 1). Returns the box number, or
    // -1 after telling the user which limit was reached. The new box is the only selected one.
    int CreateModuleBox(int x, int y, std::int16_t module);
    // Fills a box from its module: title, icon, text, position and height.
    void ShowModuleInBox(int box, std::int16_t module);
    // Box 1 of a new document shows a module created by the opener.
    void AttachFirstBox(std::int16_t module);
    void RemoveAllBoxes();

    // ---- Selection: the look of the boxes, not an edit.
    void SelectBox(int box);
    void DeselectBox(int box);
    void DeselectAllBoxes();
    void SelectOnlyBox(int box);
    bool IsSelected(int box) const;
    int CurrentBox() const { return currentBox_; }
    void SetCurrentBox(int box) { currentBox_ = box; }
    std::vector<std::int16_t> SelectedModules() const;

    // ---- Document operations.
    // A new module of the current tool's type with its box's top-left at `pos`.
    int PlaceModule(QPoint pos);
    // The boxes of the given modules moved to new top-left corners (kept at 0 or more).
    struct Move {
        std::int16_t module;
        QPoint to;
    };
    void MoveModules(const std::vector<Move>& moves);
    // Deletes every selected module; refuses when the script would be left without one.
    // Returns false after the refusal message.
    bool DeleteSelectedModules();
    // A copy of `record` as a new module near `pos`, its title made unique.
    int PasteModule(const ModuleRecord& record, QPoint pos);
    // The title typed into a box: the rename rule over all paths of the script.
    void RenameModule(std::int16_t module, const QString& typedTitle);
    // A module dialog's Apply: the module's settings from `edited` (its place in the chain
    // and on the canvas, box text, title and path text are kept from the record), the path
    // text in its normal form (none: the dialog has no paths), then the typed title by the
    // rename rule. Returns what the rename did.
    TitleChange ApplyModule(std::int16_t module, const ModuleRecord& edited,
                            const std::optional<QString>& pathText, const QString& typedTitle);
    void SetBoxText(std::int16_t module, const QString& text);
    // Appends one path line (with its CR LF) to a module's path text.
    void AddPathLine(std::int16_t module, const QString& line);
    // A connector deleted: the paths `links` of a module (its "on {" counted from 0) taken out
    // of its path text with the lines that continue them.
    void RemovePaths(std::int16_t module, const std::vector<int>& links);
    // A connector moved to another box: the paths `links` of a module lead to `title` instead.
    void RetargetPaths(std::int16_t module, const std::vector<int>& links, const QString& title);
    // The box's height and the module's stored height.
    void SetBoxHeight(int box, int height);
    // The same for several boxes, as one edit.
    void SetBoxHeights(const std::vector<int>& boxes, int height);
    void SetStartModule(const QString& title);
    // The script's properties: the module a call starts at, the script run when the call is
    // finished, and whether the script starts before the call is answered.
    void SetScriptProperties(const QString& startModule, const QString& runAtHangup,
                             bool startWithoutAnswer);
    // The name by which a CT Media server routes calls to this script.
    void SetCtmAsiName(const QString& name);

    // ---- Undo and redo: one step for each operation above that changed something.
    QUndoStack& History();
    // False when there was nothing to undo or redo, or the step could not be taken back
    // because other scripts hold the module records it needs (the user is told).
    bool Undo();
    bool Redo();

    // ---- The modified mark. It is set while the document differs from its last saved state
    // (a new script: from its state when made) and by the events that mark it without
    // changing anything (a drop without a move, opening a module's dialog). Those marks stay
    // until the next save, or until an undo or redo lands exactly on the saved state: the
    // records are then as saved, whatever happened on the way.
    void MarkModified();
    // The script was written as it stands: this is the saved state now.
    void MarkSaved();

    // BoxSource: what the save writes for a module's box.
    std::optional<BoxState> Box(std::int16_t module) const override;

signals:
    void boxAdded(int box);
    void boxRemoved(int box);
    // Title, text, icon, position, height or selection of a box changed.
    void boxChanged(int box);
    // Path texts or box geometry changed: connectors need painting again.
    void connectorsChanged();
    void modifiedChanged(bool modified);
    void titleRenamed(std::int16_t module, const QString& title);
    // An undo or redo put back a module's settings (the fields its dialog shows).
    void moduleRestored(std::int16_t module);
    // The script was written to its file as it stands.
    void saved();

private:
    friend class DocumentHistory;
    struct BoxSlot {
        std::int16_t module = -1;
        int height = 0;
    };
    int FreeBoxNumber() const;
    void UpdateModified();

    Designer& designer_;
    std::int16_t script_;
    std::vector<BoxSlot> boxes_; // boxes_[n - 1] is box n
    int currentBox_ = 0;
    std::unique_ptr<DocumentHistory> history_;
    bool markedOutsideHistory_ = false;
};

} // namespace ry
