#pragma once

// The Send Email module's dialog: the message with its attachment, the return address and
// copies, retries, and two ways of sending it (the first, and the one tried when the first
// fails), each by Simple MAPI or by SMTP with an optional login.

#include "dialogs/module_dialog.h"

#include <array>

class QCheckBox;
class QRadioButton;

namespace ry {

class EmailDialog : public ModuleDialog {
    Q_OBJECT
public:
    EmailDialog(Designer& designer, const ModuleDialogSetup& setup, const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    // One sending method's controls.
    struct Method {
        QRadioButton* mapi = nullptr; // optEmailMechanism(0) / (2)
        QRadioButton* smtp = nullptr; // optEmailMechanism(1) / (3)
        QLineEdit* server = nullptr;
        QLineEdit* port = nullptr;
        QCheckBox* useAuth = nullptr;
        QLineEdit* login = nullptr;
        QLineEdit* password = nullptr;
        std::array<QLabel*, 3> smtpLabels{}; // server, port and the port's note
        QLabel* loginLabel = nullptr;
    };
    void BuildMethodPage(Method& method, int number, const QString& caption, const QString& toolTip,
                         const QString& frame);
    // The SMTP settings can be used only with SMTP chosen, the login and password only when
    // the connection authenticates too.
    void MethodChosen(Method& method);
    static QString PortText(std::int32_t port);

    QLineEdit* to_;           // txtSoundFile(0)
    QLineEdit* subject_;      // txtSoundFile(1)
    QPlainTextEdit* message_; // txtSoundFile(2)
    QLineEdit* attachment_;   // txtSoundFile(3)
    QCheckBox* deleteAfterSend_;
    QLineEdit* returnAddress_;
    QLineEdit* returnName_;
    QLineEdit* cc_;
    QLineEdit* bcc_;
    QLineEdit* retries_;
    QLineEdit* retryDelay_;
    std::array<Method, 2> methods_;
};

} // namespace ry
