#pragma once

// The small dialog that asks the user for one value; the canvas asks it for the seconds of a
// timeout path.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace ry {

class Designer;

class InputDialog : public QDialog {
    Q_OBJECT
public:
    explicit InputDialog(QWidget* parent = nullptr);

    QLabel& Description() { return *description_; }
    QLineEdit& Field() { return *field_; }
    // The text of the field when OK closed the dialog; empty when it was closed otherwise, so
    // that a value typed and then abandoned is never taken.
    QString Value() const { return value_; }

    // OK: the field's text becomes the value.
    void accept() override;

private:
    QLabel* description_;
    QLineEdit* field_;
    QString value_;
};

// Asks for the seconds of a timeout through the designer's prompter; the typed text, or ""
// when nothing was typed or the dialog was closed without OK.
QString AskTimeoutSeconds(Designer& designer, QWidget* parent);

} // namespace ry
