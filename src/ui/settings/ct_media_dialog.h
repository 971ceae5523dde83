#pragma once

// "CT Media Options", for installations where the engine runs on a CT Media server: the
// scripts the engine loads when it starts there (RY.INI section "CTMedia", "LoadScript1" to
// "LoadScript20") and the ASI of one document's script, the name the server routes calls to
// it by, which is saved with the script.

#include "settings/settings_dialog.h"

#include <QPointer>

#include <cstdint>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace ry {

class DocumentWindow;

class CtMediaDialog : public SettingsDialog {
    Q_OBJECT
public:
    // The list keys "LoadScript1" to "LoadScript20".
    static constexpr int kLoadScriptCount = 20;

    CtMediaDialog(Designer& designer, DocumentWindow& window, QWidget* parent = nullptr);

protected:
    void Store() override;
    void Help() override;

private:
    void AddScript();
    void DeleteScript();
    void ListChanged();

    QPointer<DocumentWindow> window_;
    std::int16_t script_;
    QListWidget* scripts_;
    QPushButton* add_;
    QPushButton* delete_;
    QLineEdit* asi_;
};

// Runs the dialog modally on a document's script.
void ShowCtMediaScripts(Designer& designer, DocumentWindow& window);

} // namespace ry
