#include "canvas/document_window.h"

#include "base/designer.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/script_document.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace ry {

DocumentWindow::DocumentWindow(Designer& designer, std::int16_t script, QWidget* parent)
    : QWidget(parent), designer_(designer), document_(new ScriptDocument(designer, script, this)),
      scene_(new CanvasScene(*document_, designer.CanvasSize(), this)),
      view_(new CanvasView(scene_, this)), interaction_(nullptr) {
    setObjectName(QStringLiteral("frmDocument"));
    SetCaption(QString());
    setWindowModified(ScriptTables::IsScriptIndex(script) &&
                      designer.Tables().Script(script).Modified);
    connect(document_, &ScriptDocument::modifiedChanged, this, &QWidget::setWindowModified);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    documentIndex_ = designer.TakeDocumentSlot(*this);
    designer.Tables().Script(script).DocumentIndex = static_cast<std::int16_t>(documentIndex_);
    interaction_ = new CanvasInteraction(*this);
}

DocumentWindow::~DocumentWindow() {
    ReleaseScript();
}

std::int16_t DocumentWindow::Script() const {
    return document_->Script();
}

void DocumentWindow::SetCaption(const QString& caption) {
    caption_ = caption;
    // "[*]" is where the modified mark goes; one in the name itself is written doubled.
    setWindowTitle(QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) +
                   QStringLiteral("[*]"));
}

void DocumentWindow::CommitEdits() {
    // A title or text being typed in a box is applied first.
    interaction_->Editor().Commit();
    view_->setFocus(Qt::OtherFocusReason);
}

void DocumentWindow::Activated() {
    designer_.SetCurrentDocument(documentIndex_);
    if (ScriptTables::IsScriptIndex(Script()))
        designer_.SetDefaultDisplayHeight(
            DefaultBoxHeight(designer_.Tables().Script(Script()).DefaultModuleDisplayHeight));
}

void DocumentWindow::DoBoxInfo_Click(int box) {
    const std::int16_t module = document_->ModuleOfBox(box);
    if (module < 1)
        return;
    designer_.Dialogs().DbInfoFormShow(*this, module, box);
}

void DocumentWindow::Discard() {
    discarding_ = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

bool DocumentWindow::AgreeToClose() {
    if (!ScriptTables::IsScriptIndex(Script()))
        return true;
    CommitEdits();
    // The module dialogs first, so that changes applied from them are saved with the script.
    if (!designer_.Dialogs().SettleEdits(Script()))
        return false;
    const ScriptRecord& s = designer_.Tables().Script(Script());
    if (!s.Modified)
        return true;
    const QString question =
        s.FileName.empty()
            ? QStringLiteral("Would you like to save ") + Caption() + QStringLiteral(" ?")
            : QStringLiteral("Would you like to save script\r\n") + FromHostPath(s.FileName);
    switch (designer_.Message(question, MessageIcon::Question, MessageButtons::YesNoCancel, this)) {
    case MessageAnswer::Cancel:
        return false;
    case MessageAnswer::Yes:
        // A save that did not happen (name dialog cancelled, disk full, password not given
        // yet) keeps the window open rather than losing the changes.
        return SaveScript(designer_, *this, 0) == SaveOutcome::Saved;
    default:
        return true;
    }
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (!discarding_ && ScriptTables::IsScriptIndex(Script())) {
        if (!AgreeToClose()) {
            event->ignore();
            return;
        }
        designer_.Tables().Script(Script()).DocState = 1;
    }
    // The close goes ahead: this script's dialogs go with it, edits left unapplied on No.
    designer_.Dialogs().CloseForScript(Script());
    ReleaseScript();
    event->accept();
}

void DocumentWindow::ReleaseScript() {
    if (released_)
        return;
    released_ = true;
    const std::int16_t script = Script();
    if (ScriptTables::IsScriptIndex(script)) {
        ScriptTables& tables = designer_.Tables();
        ScriptRecord& s = tables.Script(script);
        if (!s.IsFree) {
            std::int16_t m = s.FirstModule;
            for (int guard = 0; ScriptTables::IsModuleIndex(m) && guard < kModuleCapacity;
                 ++guard) {
                const std::int16_t next = tables.Module(m).NextModule;
                if (next == m) {
                    designer_.Message(QStringLiteral("Err 1001"));
                    break;
                }
                tables.MemStructRym_Free(m);
                m = next;
            }
            s.FirstModule = -1;
            tables.MemStructRys_Free(script);
        }
    }
    designer_.ReleaseDocumentSlot(documentIndex_);
    emit closed(documentIndex_);
}

DocumentWindow* LiveDocumentWindow(Designer& designer, DocumentWindow* window) {
    if (!window || designer.Document(window->DocumentIndex()) != window)
        return nullptr;
    const std::int16_t script = window->Script();
    if (!ScriptTables::IsScriptIndex(script) || designer.Tables().Script(script).IsFree)
        return nullptr;
    return window;
}

} // namespace ry
