#include "app/script_commands.h"

#include "app/designer.h"
#include "app/text_codec.h"
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
        if (wasModified)
            emit document.modifiedChanged(false);
        return SaveOutcome::Saved;
    case kSaveWaitingForPassword:
        return SaveOutcome::WaitingForPassword;
    default:
        return SaveOutcome::Failed;
    }
}

} // namespace ry
