#pragma once

// Saving a document's script from the designer: choosing a name when needed, the recent-file
// list, and the plain or protected save.

#include <QString>

namespace ry {

class Designer;
class DocumentWindow;

enum class SaveOutcome { Saved, Cancelled, Failed, WaitingForPassword };

// mode 1: save under a new name (the save dialog first); otherwise under the current name,
// asking for one when the script has none yet.
SaveOutcome SaveScript(Designer& designer, DocumentWindow& window, int mode);

// The password dialog's OK for the protected save waiting in the designer's writer: the
// script is written under `password` as its document shows it now, and its modified mark is
// cleared once the file is written.
SaveOutcome CompleteProtectedSave(Designer& designer, const QString& password);

} // namespace ry
