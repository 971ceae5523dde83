#include "base/script_commands.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/loader.h"
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

} // namespace

SaveOutcome SaveScript(Designer& designer, DocumentWindow& window, int mode) {
    window.CommitEdits();
    ScriptDocument& document = window.Document();
    ScriptRecord& s = document.Record();
    if (mode == 1 || s.FileName.empty()) {
        const QString name =
            designer.Files().SelectFile_ScriptSave(&window, FromHostPath(s.FileName));
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
    if (!MaySaveOverFile(designer, window, s))
        return SaveOutcome::Cancelled;
    designer.Recent().Add(FromHostPath(s.FileName));
    const bool wasModified = s.Modified;
    switch (SaveScriptFile(designer.Tables(), designer.CoreHost(), document, designer.Writer(),
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

SaveOutcome CompleteProtectedSave(Designer& designer, const QString& password) {
    ProtectedWriter& writer = designer.Writer();
    const std::int16_t script = writer.PendingProtectedScript;
    DocumentWindow* window = designer.DocumentOfScript(script);
    if (!window) {
        writer.PendingProtectedScript = 0;
        return SaveOutcome::Failed;
    }
    // The text waiting in the writer was built when Save was chosen; the user may have gone
    // on editing while the dialog was open. The save clears the modified mark, so it writes
    // what the document holds now, or those edits would be lost without a question.
    window->CommitEdits();
    ScriptDocument& document = window->Document();
    ScriptTables& tables = designer.Tables();
    CollectBoxTexts(tables, script, document);
    writer.ProtectedSaveText = BuildScriptText(tables, script, document);
    const bool wasModified = tables.Script(script).Modified;
    switch (writer.CompletePendingSave(tables, designer.CoreHost(), FromQt(password))) {
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

} // namespace ry
