#include "base/script_commands.h"

#include "base/designer.h"

namespace ry {

SaveOutcome SaveScript(Designer& designer, DocumentWindow& window, int mode) {
    return designer.Saver().Save(window, mode);
}

SaveOutcome CompleteProtectedSave(Designer& designer, const QString& password) {
    return designer.Saver().CompleteProtectedSave(password);
}

} // namespace ry
