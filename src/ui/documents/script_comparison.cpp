#include "documents/script_comparison.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/loader.h"

namespace ry {

std::unique_ptr<ScriptComparison> ScriptComparison::Open(Designer& designer, std::int16_t script,
                                                         const QString& otherFile, QString* error) {
    std::unique_ptr<ScriptComparison> comparison(new ScriptComparison(designer, script, otherFile));
    const std::int16_t loaded = RysScriptLoad(*comparison->other_, designer.CoreHost(),
                                              HostPath(otherFile), kCallerDesigner);
    // The loader reports its progress in the status bar; this read is over.
    designer.ShowStatusText(QString());
    if (loaded < 1) {
        if (error)
            *error = QString::fromStdString(std::string(LoadFailureReason(loaded)));
        return nullptr;
    }
    comparison->otherScript_ = loaded;
    comparison->Refresh();
    return comparison;
}

void ScriptComparison::Refresh() {
    diff_ = DiffScripts(*other_, otherScript_, designer_.Tables(), script_);
}

} // namespace ry
