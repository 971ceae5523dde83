#pragma once

// A document window: one open script shown as a canvas of module boxes and connectors. It
// lives in a slot of the designer's document list from its creation until it closes; closing
// asks to save unsaved changes and returns the script's records to their tables.

#include "base/open_document.h"

#include <QWidget>

#include <cstdint>

namespace ry {

class CanvasInteraction;
class CanvasScene;
class CanvasView;
class Designer;
class ScriptDocument;

class DocumentWindow : public QWidget, public OpenDocument {
    Q_OBJECT
public:
    DocumentWindow(Designer& designer, std::int16_t script, QWidget* parent = nullptr);
    ~DocumentWindow() override;

    Designer& designer() { return designer_; }
    // The window's slot in the designer's document list.
    int DocumentIndex() const override { return documentIndex_; }
    std::int16_t Script() const override;
    QWidget& Widget() override { return *this; }
    DocumentWindow& AsWindow() override { return *this; }
    ScriptDocument& Document() { return *document_; }
    CanvasScene& Scene() { return *scene_; }
    CanvasView& View() { return *view_; }
    // The mouse on the canvas: placing, selecting, dragging, box fields, menus, path commands.
    CanvasInteraction& Interaction() { return *interaction_; }

    // The script's file name, or "<brand> Script <n>" for a script never saved. The window's
    // title adds the modified mark ("*") while the script has unsaved changes.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // Applies a title or text being edited in a box before the script is saved or closed.
    void CommitEdits();
    // This window became the active document.
    void Activated();
    // Opens the property dialog of the module in `box` and marks the script modified (a
    // click on the box's icon, or Properties in its menu).
    void DoBoxInfo_Click(int box);

    // Closes without asking and without saving (the program is ending after its own
    // questions, or a test tidies up).
    void Discard();
    // The questions of a close, without closing: the script's module dialogs with unapplied
    // edits, then whether to save the script (and the save). False when the user cancelled
    // or the save did not happen; nothing is closed either way.
    bool AgreeToClose();

signals:
    void closed(int documentIndex);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ReleaseScript();

    Designer& designer_;
    int documentIndex_ = 0;
    ScriptDocument* document_;
    CanvasScene* scene_;
    CanvasView* view_;
    CanvasInteraction* interaction_;
    QString caption_;
    bool released_ = false;
    bool discarding_ = false;
};

// `window` while it still shows its script: null once it left its slot or its script's
// records went back to the tables (a panel following it may outlive both).
DocumentWindow* LiveDocumentWindow(Designer& designer, DocumentWindow* window);

} // namespace ry
