#pragma once

// The passwords of protected scripts. "Script Password" is asked for twice: when a protected
// script is opened (modal, the characters hidden), and when one is saved under a new name
// (not modal: the save waits in the designer's protected writer until OK completes it).

#include <QDialog>
#include <QMetaObject>

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace ry {

class Designer;

// Caption "Script Password", the label, the text box "Text1" and the button "cmdOK"; Enter
// in the text box acts as OK. Centred on the screen when shown.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit& Text1() { return *text_; }

protected:
    PasswordDialog(const QString& name, QWidget* parent);
    virtual void Ok() = 0;
    void showEvent(QShowEvent* event) override;

    QLineEdit* text_;
};

// The password of a protected script being opened.
class OpenPasswordDialog : public PasswordDialog {
    Q_OBJECT
public:
    explicit OpenPasswordDialog(QWidget* parent = nullptr);

    // What was typed, trimmed and in upper case; empty unless the dialog was closed by OK.
    QString Password() const;

protected:
    void Ok() override { accept(); }
};

// The password a protected script is saved under. One dialog serves the program: the writer
// holds one waiting save, so a new request takes the dialog over from the one before.
class SavePasswordDialog : public PasswordDialog {
    Q_OBJECT
public:
    SavePasswordDialog(Designer& designer, QWidget* parent = nullptr);
    ~SavePasswordDialog() override;

    // The script whose save waits for this dialog: the text typed so far is cleared, and the
    // dialog follows that script's document (it closes, writing nothing, when the document
    // closes).
    void SetScript(std::int16_t script);
    std::int16_t Script() const { return script_; }

    void done(int result) override;

protected:
    void Ok() override;

private:
    // The waiting save is given up: nothing is written and the script stays modified.
    void CancelPending();

    Designer& designer_;
    std::int16_t script_ = 0;
    QMetaObject::Connection documentClosed_;
};

} // namespace ry
