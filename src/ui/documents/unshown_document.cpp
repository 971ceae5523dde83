#include "documents/unshown_document.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/loader.h"

namespace ry {

UnshownDocument::UnshownDocument(Designer& designer) : designer_(designer) {}

UnshownDocument::~UnshownDocument() {
    if (window_)
        window_->Discard();
}

bool UnshownDocument::Load(const QString& fileName, QString* error) {
    ScriptTables& tables = designer_.Tables();
    const std::int16_t loaded =
        RysScriptLoad(tables, designer_.CoreHost(), HostPath(fileName), kCallerDesigner);
    if (loaded < 1) {
        if (error)
            *error = fileName + QStringLiteral(": the script could not be loaded: ") +
                     ToQt(LoadFailureReason(loaded));
        return false;
    }
    window_ = std::make_unique<DocumentWindow>(designer_, loaded);
    ScriptDocument& document = window_->Document();
    const ScriptRecord& s = tables.Script(loaded);
    if (ScriptTables::IsModuleIndex(s.FirstModule)) {
        document.AttachFirstBox(s.FirstModule);
        for (std::int16_t m = tables.Module(s.FirstModule).NextModule;
             ScriptTables::IsModuleIndex(m); m = tables.Module(m).NextModule) {
            const ModuleRecord& rec = tables.Module(m);
            if (document.CreateModuleBox(rec.PositionX, rec.PositionY, m) < 0)
                break;
        }
    }
    document.DeselectAllBoxes();
    return true;
}

} // namespace ry
