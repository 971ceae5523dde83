#include "base/prompter.h"

#include "base/executable_filter.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace ry {

namespace {

// A message box titled `title` showing `text` with `icon`, without buttons yet.
void SetUpBox(QMessageBox& box, const QString& title, const QString& text, MessageIcon icon) {
    box.setWindowTitle(title);
    // Texts of the core use CR LF; a message box wants LF.
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
}

} // namespace

MessageAnswer QtPrompter::Message(QWidget* owner, const QString& title, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(owner);
    SetUpBox(box, title, text, icon);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

int QtPrompter::Choose(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
                       const QStringList& choices) {
    QMessageBox box(owner);
    SetUpBox(box, title, text, icon);
    std::vector<QPushButton*> buttons;
    for (qsizetype n = 0; n < choices.size(); ++n)
        buttons.push_back(box.addButton(choices[n], n + 1 == choices.size()
                                                        ? QMessageBox::RejectRole
                                                        : QMessageBox::AcceptRole));
    if (!buttons.empty()) {
        box.setDefaultButton(buttons.front());
        box.setEscapeButton(buttons.back());
    }
    box.exec();
    for (size_t n = 0; n < buttons.size(); ++n)
        if (box.clickedButton() == buttons[n])
            return static_cast<int>(n);
    return static_cast<int>(choices.size()) - 1;
}

QString QtPrompter::ChooseFile(QWidget* owner, const FileRequest& request) {
    if (request.kind == FileRequest::Open &&
        request.filter.split(QStringLiteral(";;")).contains(QLatin1String(kExecutablesFilter))) {
        QFileDialog dialog(owner, request.title, request.folder, request.filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        FilterExecutables(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().front();
    }
    if (request.kind == FileRequest::Save)
        return QFileDialog::getSaveFileName(owner, request.title, request.folder, request.filter,
                                            request.selectedFilter);
    return QFileDialog::getOpenFileName(owner, request.title, request.folder, request.filter);
}

int QtPrompter::Exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace ry
