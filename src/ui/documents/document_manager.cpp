#include "documents/document_manager.h"

#include "base/designer.h"
#include "base/host_paths.h"
#include "base/script_commands.h"
#include "base/text_codec.h"
#include "canvas/canvas_scene.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/loader.h"
#include "script/module_types.h"
#include "script/protected_script.h"
#include "script/saver.h"

namespace ry {

namespace {

// Asks before a save would lose what is in the file on disk and not in the document: the end
// of a protected script that was never read, or another program's changes. True to go on.
bool MaySaveOverFile(Designer& designer, DocumentWindow& window, const ScriptRecord& s) {
    const QString name = FromHostPath(s.FileName);
    if (s.ReadCutShort &&
        designer.Message(name + QStringLiteral(" is longer than the %1 bytes of a protected script "
                                               "that are read: the end of the script was not "
                                               "read.\r\nSaving over this file loses that end "
                                               "for good. Save over it anyway?")
                                    .arg(kProtectedReadLimit),
                         MessageIcon::Exclamation, MessageButtons::YesNo,
                         &window) != MessageAnswer::Yes)
        return false;
    if (ScriptFileChangedOnDisk(s) &&
        designer.Message(name + QStringLiteral(" was changed on disk by another program since it "
                                               "was opened or saved here.\r\nOverwrite those "
                                               "changes?"),
                         MessageIcon::Exclamation, MessageButtons::YesNo,
                         &window) != MessageAnswer::Yes)
        return false;
    return true;
}

// The limit a new or loaded script ran into, in the words the canvas uses for a module placed
// past it; the modules of every open script come from one pool of records.
QString ModuleLimitText(const ScriptTables& tables) {
    const int held = kModuleCapacity - tables.MemStructRym_FreeCount();
    QString text =
        QStringLiteral("This version has a limit of %1 modules per script.").arg(ModuleLimit);
    if (held > 0)
        text += QStringLiteral(" The scripts open hold %1 of them: close a script, then try again.")
                    .arg(held);
    return text;
}

QString ScriptLimitText() {
    return QStringLiteral("This version has a limit of %1 open scripts: close a script, then try "
                          "again.")
        .arg(kScriptCapacity);
}

} // namespace

DocumentManager::DocumentManager(Designer& designer, DocumentArea& area, QWidget* owner)
    : QObject(owner), designer_(designer), area_(area), owner_(owner) {
    designer.SetSaver(this);
}

DocumentManager::~DocumentManager() {
    if (designer_.HasSaver(this))
        designer_.SetSaver(nullptr);
}

DocumentWindow* DocumentManager::WindowInSlot(int slot) const {
    return designer_.Document(slot);
}

std::vector<QPointer<DocumentWindow>> DocumentManager::OpenWindows() const {
    std::vector<QPointer<DocumentWindow>> windows;
    for (int slot = 1; slot <= designer_.DocumentSlotCount(); ++slot)
        if (DocumentWindow* window = designer_.Document(slot))
            windows.emplace_back(window);
    return windows;
}

std::vector<ListedDocument> DocumentManager::ListedDocuments(int count) const {
    std::vector<ListedDocument> listed;
    for (int slot = 1;
         slot <= designer_.DocumentSlotCount() && static_cast<int>(listed.size()) < count; ++slot) {
        DocumentWindow* window = designer_.Document(slot);
        if (!window)
            continue;
        listed.push_back({slot, window->Caption()});
    }
    return listed;
}

void DocumentManager::LoadRecent() {
    designer_.Recent().Load();
}

QString DocumentManager::RecentFile(int position) const {
    return designer_.Recent().At(position);
}

void DocumentManager::OpenRecent(int position) {
    OpenScript(designer_.Recent().At(position));
}

void DocumentManager::OpenScript(const QString& givenName) {
    // A name is made absolute where it enters, so RY.INI, the recent list and the companion
    // programs never see one that depends on the folder the designer was started in.
    const QString fileName = AbsoluteScriptPath(givenName);
    if (!fileName.isEmpty()) {
        // A script is open once: its window carries the file name as its caption.
        for (int slot = 1; slot <= designer_.DocumentSlotCount(); ++slot) {
            DocumentWindow* window = designer_.Document(slot);
            if (window && window->Caption() == fileName) {
                area_.BringToFront(window);
                return;
            }
        }
    }
    ScriptTables& tables = designer_.Tables();
    // Why a file was not loaded, or a new script not made; the limits are named.
    auto fail = [&](const QString& reason) {
        const QString what = fileName.isEmpty() ? QStringLiteral("A new script could not be made.")
                                                : QStringLiteral("File: ") + fileName +
                                                      QStringLiteral("\r\nCould not be loaded.");
        designer_.Message(reason.isEmpty() ? what : what + QStringLiteral("\r\n") + reason,
                          MessageIcon::None, MessageButtons::Ok, owner_);
    };

    // The provisional script: one "Play" module, which a new script keeps. For a file it
    // shows that a script and a module record are free before anything is read.
    const std::int16_t provisional = tables.MemStructRys_Get();
    const std::int16_t firstModule = provisional >= 1 ? tables.MemStructRym_Get() : -1;
    if (provisional < 1 || firstModule < 1) {
        if (provisional >= 1)
            tables.MemStructRys_Free(provisional);
        fail(provisional < 1 ? ScriptLimitText() : ModuleLimitText(tables));
        return;
    }
    {
        AppendModuleToScript(tables, provisional, firstModule);
        ModuleRecord& m = tables.Module(firstModule);
        m.Type = std::string(kTypePlay);
        m.Title = "Play " + std::to_string(firstModule);
        m.Txt = std::string(TypeDescription(kTypePlay));
        m.BoxIndex = 1;
        tables.Script(provisional).StartModule = m.Title;
    }

    if (fileName.isEmpty()) {
        // A script record keeps some fields from the script it held before; a new script
        // starts as the user expects of one.
        tables.Script(provisional).StartWithoutAnswer = false;
        DocumentWindow* window = AddDocumentWindow(provisional, QString());
        window->SetCaption(designer_.BrandName() + QStringLiteral(" Script ") +
                           QString::number(window->DocumentIndex()));
        window->Document().AttachFirstBox(firstModule);
        window->Document().DeselectAllBoxes();
        emit windowListChanged();
        return;
    }

    // The provisional records go back before the load rather than after it: held during the
    // load, they would keep a script of the full 1000 modules from ever opening. The loaded
    // script takes them first.
    tables.MemStructRym_Free(firstModule);
    tables.MemStructRys_Free(provisional);
    const std::int16_t loaded =
        RysScriptLoad(tables, designer_.CoreHost(), HostPath(fileName), kCallerDesigner);
    // The load's progress ("Loading Module 12") ends with it, whatever its outcome.
    designer_.ShowStatusText(QString());
    if (loaded < 1) {
        fail(loaded == kLoadModuleLimit ? ModuleLimitText(tables) : QString());
        return;
    }
    // Only a file that opened goes into the recent list.
    designer_.Recent().Add(fileName);

    // The window is made for the loaded script directly, so that its activation sets the
    // default box height from this script before the boxes are filled.
    DocumentWindow* window = AddDocumentWindow(loaded, fileName);
    ScriptDocument& document = window->Document();
    const ScriptRecord& s = tables.Script(loaded);
    if (ScriptTables::IsModuleIndex(s.FirstModule)) {
        document.AttachFirstBox(s.FirstModule);
        int count = 1;
        for (std::int16_t m = tables.Module(s.FirstModule).NextModule;
             ScriptTables::IsModuleIndex(m); m = tables.Module(m).NextModule) {
            designer_.ShowStatusText(QStringLiteral("Displaying Module %1").arg(count++));
            const ModuleRecord& rec = tables.Module(m);
            if (document.CreateModuleBox(rec.PositionX, rec.PositionY, m) < 0)
                break;
        }
        designer_.ShowStatusText(QString());
    }
    document.DeselectAllBoxes();
    window->Scene().update();
    area_.FitFrame(*window);
    emit windowListChanged();
}

DocumentWindow* DocumentManager::AddDocumentWindow(std::int16_t script, const QString& caption) {
    auto* window = new DocumentWindow(designer_, script);
    window->SetCaption(caption);
    area_.AddDocument(*window);
    return window;
}

void DocumentManager::NewScript() {
    OpenScript(QString());
    designer_.SetCurrentTool(QLatin1String(kArrowTool));
}

void DocumentManager::OpenScriptDialog() {
    const QString name = designer_.Files().SelectFile_Script(owner_, QString());
    if (!name.isEmpty())
        OpenScript(name);
}

void DocumentManager::CloseActive() {
    if (DocumentWindow* window = area_.ActiveDocumentWindow())
        area_.CloseFrame(*window);
    emit windowListChanged();
}

void DocumentManager::SaveActive(int mode) {
    if (DocumentWindow* window = area_.ActiveDocumentWindow())
        Save(*window, mode);
}

void DocumentManager::SaveAll() {
    // Every open script, however many windows.
    for (const QPointer<DocumentWindow>& window : OpenWindows())
        if (window)
            Save(*window, 0);
}

SaveOutcome DocumentManager::Save(DocumentWindow& window, int mode) {
    window.CommitEdits();
    ScriptDocument& document = window.Document();
    ScriptRecord& s = document.Record();
    if (mode == 1 || s.FileName.empty()) {
        const QString name =
            designer_.Files().SelectFile_ScriptSave(&window, FromHostPath(s.FileName));
        if (name.isEmpty())
            return SaveOutcome::Cancelled;
        const std::string chosen = HostPath(name);
        if (chosen != s.FileName) {
            // Another file: what was noted of the old one does not hold for it.
            s.DiskStamp = {};
            s.ReadCutShort = false;
        }
        s.FileName = chosen;
        s.FolderPath = SplitPath(s.FileName);
        // A new name is a new file: a protected save asks for its password again.
        s.Password = "NOTSET";
        window.SetCaption(name);
    }
    if (!MaySaveOverFile(designer_, window, s))
        return SaveOutcome::Cancelled;
    designer_.Recent().Add(FromHostPath(s.FileName));
    const bool wasModified = s.Modified;
    switch (SaveScriptFile(designer_.Tables(), designer_.CoreHost(), document, designer_.Writer(),
                           document.Script())) {
    case kSaveWritten:
        document.MarkSaved();
        if (wasModified)
            emit document.modifiedChanged(false);
        return SaveOutcome::Saved;
    case kSaveWaitingForPassword:
        return SaveOutcome::WaitingForPassword;
    default:
        return SaveOutcome::Failed;
    }
}

SaveOutcome DocumentManager::CompleteProtectedSave(const QString& password) {
    ProtectedWriter& writer = designer_.Writer();
    const std::int16_t script = writer.PendingProtectedScript;
    DocumentWindow* window = designer_.DocumentOfScript(script);
    if (!window) {
        writer.PendingProtectedScript = 0;
        return SaveOutcome::Failed;
    }
    // The text waiting in the writer was built when Save was chosen; the user may have gone
    // on editing while the dialog was open. The save clears the modified mark, so it writes
    // what the document holds now, or those edits would be lost without a question.
    window->CommitEdits();
    ScriptDocument& document = window->Document();
    ScriptTables& tables = designer_.Tables();
    CollectBoxTexts(tables, script, document);
    writer.ProtectedSaveText = BuildScriptText(tables, script, document);
    const bool wasModified = tables.Script(script).Modified;
    switch (writer.CompletePendingSave(tables, designer_.CoreHost(), FromQt(password))) {
    case ProtectedWriter::Written:
        document.MarkSaved();
        if (wasModified)
            emit document.modifiedChanged(false);
        return SaveOutcome::Saved;
    case ProtectedWriter::WaitingForPassword:
        return SaveOutcome::WaitingForPassword;
    default:
        return SaveOutcome::Failed;
    }
}

bool DocumentManager::CloseAll() {
    // Every document asks its questions before any closes: a Cancel at any of them keeps the
    // program open with every document as it was.
    const std::vector<QPointer<DocumentWindow>> windows = OpenWindows();
    for (const QPointer<DocumentWindow>& window : windows) {
        if (window && !window->AgreeToClose())
            return false;
    }
    unloading_ = true;
    for (const QPointer<DocumentWindow>& window : windows)
        if (window)
            window->Discard();
    return true;
}

void DocumentManager::CheckFilesChangedOnDisk() {
    if (checkingFiles_ || unloading_)
        return;
    checkingFiles_ = true;
    std::vector<DocumentWindow*> windows;
    for (int slot = 1; slot <= designer_.DocumentSlotCount(); ++slot)
        if (DocumentWindow* window = designer_.Document(slot))
            windows.push_back(window);
    for (DocumentWindow* window : windows) {
        const ScriptRecord& s = designer_.Tables().Script(window->Script());
        if (!ScriptFileChangedOnDisk(s))
            continue;
        const FileStamp now = StampOfFile(s.FileName);
        auto declined = reloadDeclined_.find(s.FileName);
        if (declined != reloadDeclined_.end() && declined->second == now)
            continue;
        const QString name = FromHostPath(s.FileName);
        const bool reload =
            designer_.Message(name + QStringLiteral(" was changed on disk by another program."
                                                    "\r\nLoad it again?"),
                              MessageIcon::Question, MessageButtons::YesNo,
                              owner_) == MessageAnswer::Yes &&
            (!s.Modified ||
             designer_.Message(name + QStringLiteral(" has changes that are not saved.\r\nLoad "
                                                     "the file again and lose them?"),
                               MessageIcon::Exclamation, MessageButtons::YesNo,
                               owner_) == MessageAnswer::Yes);
        if (!reload) {
            reloadDeclined_[s.FileName] = now;
            continue;
        }
        reloadDeclined_.erase(s.FileName);
        const QString caption = window->Caption();
        window->Discard();
        OpenScript(caption);
    }
    checkingFiles_ = false;
}

} // namespace ry
