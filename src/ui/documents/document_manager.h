#pragma once

// The open documents and their life, beside the main window that shows them: new, open, save,
// save as, save all, the questions of closing, loading again what another program changed on
// disk, the recent files, and what the Window menu lists. Where a document window is shown and
// how the windows are arranged is the main window's part, reached through DocumentArea.

#include "base/script_commands.h"
#include "script/file_io.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace ry {

class Designer;
class DocumentWindow;

// Where the manager's document windows are shown: the main window's area implements it.
class DocumentArea {
public:
    // Shows a new document window in a frame of its own, fitted to its boxes, and makes it the
    // active document.
    virtual void AddDocument(DocumentWindow& window) = 0;
    // A document window's frame: large enough to show its boxes, within the area.
    virtual void FitFrame(DocumentWindow& window) = 0;
    // Brings a document window to the front and makes it the active document.
    virtual void BringToFront(DocumentWindow* window) = 0;
    // The document window of the active document, if any.
    virtual DocumentWindow* ActiveDocumentWindow() const = 0;
    // Closes a document window's frame, with the questions of its close.
    virtual void CloseFrame(DocumentWindow& window) = 0;

protected:
    ~DocumentArea() = default;
};

// A document the Window menu lists: its slot and its caption.
struct ListedDocument {
    int slot;
    QString caption;
};

// The designer's saver (Designer::Saver) while it lives.
class DocumentManager : public QObject, public DocumentSaver {
    Q_OBJECT
public:
    // `owner` owns the manager's questions and file dialogs (the main window).
    DocumentManager(Designer& designer, DocumentArea& area, QWidget* owner);
    ~DocumentManager() override;

    // Opens a script file, or makes a new script when `fileName` is empty. A file already shown
    // (same caption, letter case counting) is brought to the front instead.
    void OpenScript(const QString& fileName);
    // File > New: a new script, and the Arrow tool.
    void NewScript();
    // File > Open: asks for a script file and opens it.
    void OpenScriptDialog();
    // File > Close: closes the active document, asking as its close asks.
    void CloseActive();
    // mode 1: Save As; any other value: Save.
    void SaveActive(int mode);
    void SaveAll();
    SaveOutcome Save(DocumentWindow& window, int mode) override;
    SaveOutcome CompleteProtectedSave(const QString& password) override;

    // The questions of every document before any closes; on a Cancel at any of them nothing
    // closes and the answer is false. Otherwise every document is discarded (the program is
    // ending) and the answer is true.
    bool CloseAll();
    // The documents are going with the program: nothing is to be activated, listed or asked.
    bool Unloading() const { return unloading_; }
    void StartUnloading() { unloading_ = true; }

    // Each open script whose file another program changed since it was read or saved here:
    // says so and offers to load the file again, asking first when the script has unsaved
    // edits. A change declined is not asked about again. Runs when the window is activated.
    void CheckFilesChangedOnDisk();
    // While those questions are asked.
    bool CheckingFiles() const { return checkingFiles_; }

    // The recent files: read from the registry, position 1..9 ("" when empty), and opening
    // one.
    void LoadRecent();
    QString RecentFile(int position) const;
    void OpenRecent(int position);

    // The document windows in slot order, each watched in case a question closes it.
    std::vector<QPointer<DocumentWindow>> OpenWindows() const;
    // The document window in a slot, null for an empty one.
    DocumentWindow* WindowInSlot(int slot) const;
    // The first `count` documents in slot order, as the Window menu lists them.
    std::vector<ListedDocument> ListedDocuments(int count) const;

signals:
    // A document was opened or closed: the Window menu's list is to be read again.
    void windowListChanged();

private:
    // A window for `script` under `caption`, shown by the area as the active document.
    DocumentWindow* AddDocumentWindow(std::int16_t script, const QString& caption);

    Designer& designer_;
    DocumentArea& area_;
    QWidget* owner_;
    bool unloading_ = false;
    // Files whose change on disk the user chose not to load, as they were then.
    std::map<std::string, FileStamp> reloadDeclined_;
    bool checkingFiles_ = false;
};

} // namespace ry
