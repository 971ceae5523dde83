// The main window's settings commands: each opens its dialog modally.

#include "app/main_window.h"
#include "base/designer.h"
#include "canvas/document_window.h"
#include "settings/ct_media_dialog.h"
#include "settings/doc_properties_dialog.h"
#include "settings/pbx_config_dialog.h"

namespace ry {

void MainWindow::ScriptProperties() {
    if (DocumentWindow* window = ActiveDocumentWindow())
        ShowScriptProperties(designer_, *window);
}

void MainWindow::PbxCommandStrings() {
    ShowPbxConfig(designer_, this);
}

void MainWindow::CtMediaScripts() {
    if (DocumentWindow* window = ActiveDocumentWindow())
        ShowCtMediaScripts(designer_, *window);
}

} // namespace ry
