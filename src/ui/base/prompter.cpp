#include "base/prompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace ry {

MessageAnswer QtPrompter::Message(QWidget* owner, const QString& title, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(owner);
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

QString QtPrompter::ChooseFile(QWidget* owner, const FileRequest& request) {
    if (request.kind == FileRequest::Save)
        return QFileDialog::getSaveFileName(owner, request.title, request.folder, request.filter,
                                            request.selectedFilter);
    return QFileDialog::getOpenFileName(owner, request.title, request.folder, request.filter);
}

int QtPrompter::Exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace ry
