#include "base/script_commands.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/loader.h"
#include "script/saver.h"

namespace ry {

SaveOutcome SaveScript(Designer& designer, DocumentWindow& window, int mode) {
    window.CommitEdits();
    ScriptDocument& document = window.Document();
    ScriptRecord& s = document.Record();
    if (mode == 1 || s.FileName.empty()) {
        const QString name = designer.Files().SelectFile_ScriptSave(&window, ToQt(s.FileName));
        if (name.isEmpty())
            return SaveOutcome::Cancelled;
        s.FileName = FromQt(name);
        s.FolderPath = SplitPath(s.FileName);
        // A new name is a new file: a protected save asks for its password again.
        s.Password = "NOTSET";
        window.SetCaption(name);
    }
    designer.Recent().Add(ToQt(s.FileName));
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
