#pragma once

// Every question the designer puts to the user: message boxes, file dialogs and modal dialogs
// go through one object, so that tests can answer them without a screen.

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace ry {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct FileRequest {
    enum Kind { Open, Save };
    Kind kind = Open;
    QString title;
    // Qt form: "Wave Files (*.wav);;Text Files (*.txt)"; the filter kExecutablesFilter
    // ("Executables (*)") shows the files the user may run.
    QString filter;
    QString folder; // where the dialog starts
    // When set, a Save dialog writes here the filter the user left chosen.
    QString* selectedFilter = nullptr;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box titled `title`; returns the button chosen.
    virtual MessageAnswer Message(QWidget* owner, const QString& title, const QString& text,
                                  MessageIcon icon = MessageIcon::None,
                                  MessageButtons buttons = MessageButtons::Ok) = 0;
    // A question answered with one of `choices`, button texts in order ("&" before a letter
    // marks its key); the last is the one Escape and closing the box choose. Returns the index
    // of the choice. A prompter that cannot ask (no screen) answers with the last.
    virtual int Choose(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
                       const QStringList& choices) {
        (void)owner;
        (void)title;
        (void)text;
        (void)icon;
        return static_cast<int>(choices.size()) - 1;
    }
    // The file chosen, or "" when the user cancelled.
    virtual QString ChooseFile(QWidget* owner, const FileRequest& request) = 0;
    // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog) = 0;
};

// The real dialogs of the desktop.
class QtPrompter : public Prompter {
public:
    MessageAnswer Message(QWidget* owner, const QString& title, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    int Choose(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
               const QStringList& choices) override;
    QString ChooseFile(QWidget* owner, const FileRequest& request) override;
    int Exec(QDialog& dialog) override;
};

} // namespace ry
