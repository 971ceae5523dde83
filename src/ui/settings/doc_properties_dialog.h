#pragma once

// "Script Properties": the module a call starts at, the script run when the call is
// finished, and whether the script starts before the call is answered, for the script of one
// document window. The script is read once, when the dialog opens; Apply and OK change it
// through the document, which marks it modified.

#include "base/help_topics.h"
#include "settings/settings_dialog.h"

#include <QPointer>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ry {

class DocumentWindow;

class DocPropertiesDialog : public SettingsDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = help::kScriptProperties;

    DocPropertiesDialog(Designer& designer, DocumentWindow& window, QWidget* parent = nullptr);

protected:
    void Store() override;
    void Help() override;

private:
    void SelectScript();

    QPointer<DocumentWindow> window_;
    std::int16_t script_;
    QComboBox* startModule_;
    QLineEdit* scriptAfterCall_;
    QPushButton* select_;
    QCheckBox* runBeforeAnswer_;
    QString storedStart_; // the start module as the script held it when the dialog opened
    int shownStart_ = -1; // the entry first chosen for it
};

// Runs the dialog modally on a document's script: Edit > Script Properties, which the
// "&Script" menu of a canvas also reaches.
void ShowScriptProperties(Designer& designer, DocumentWindow& window);

} // namespace ry
