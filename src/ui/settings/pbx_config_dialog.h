#pragma once

// "PBX Strings": the dial strings the engine sends to the telephone system to transfer and
// conference calls and to switch message lamps, the rules for the lamps, and the DTMF key a
// PBX sends at hang-up. Every value lives in section "PBX" of RY.INI; the hang-up key is also
// kept in the designer's settings. The dialog also tells when the engine is set to transfer
// calls some other way, and can set it back.

#include "base/help_topics.h"
#include "settings/settings_dialog.h"

#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ry {

class PbxConfigDialog : public SettingsDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = help::kPbxStrings;

    explicit PbxConfigDialog(Designer& designer, QWidget* parent = nullptr);

protected:
    void Store() override;
    void Help() override;

private:
    QLineEdit* AddString(int index);
    void SetGenerate();

    std::map<int, QLineEdit*> strings_; // txtPbxString by index
    QComboBox* lampOn_;
    QComboBox* lampOff_;
    QLineEdit* hangupKey_;
    QLabel* notUsed_;
    QPushButton* setGenerate_;
};

void ShowPbxConfig(Designer& designer, QWidget* owner);

} // namespace ry
