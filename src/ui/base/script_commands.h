#pragma once

// Saving a document's script, as the ground floor and the canvas ask for it. The document
// manager (documents/) carries the saves out and installs itself in the Designer, so neither
// depends on the floor that owns the documents.

#include <QString>

namespace ry {

class Designer;
class DocumentWindow;

enum class SaveOutcome { Saved, Cancelled, Failed, WaitingForPassword };

class DocumentSaver {
public:
    virtual ~DocumentSaver() = default;
    // mode 1: save under a new name (the save dialog first); otherwise under the current name,
    // asking for one when the script has none yet. Chooses the name, keeps the recent-file
    // list, and makes the plain or protected save.
    virtual SaveOutcome Save(DocumentWindow& window, int mode) = 0;
    // The password dialog's OK for the protected save waiting in the designer's writer: the
    // script is written under `password` as its document shows it now, and its modified mark
    // is cleared once the file is written.
    virtual SaveOutcome CompleteProtectedSave(const QString& password) = 0;
};

// The designer's saver at work (Designer::Saver).
SaveOutcome SaveScript(Designer& designer, DocumentWindow& window, int mode);
SaveOutcome CompleteProtectedSave(Designer& designer, const QString& password);

} // namespace ry
