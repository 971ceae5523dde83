#pragma once

#include "base/prompter.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace ry::test {

// Answers the designer's questions from queues the test fills, and remembers what was asked.
// An unexpected question is answered with Cancel (or an empty file name) and recorded.
class FakePrompter : public Prompter {
public:
    struct Shown {
        QString title;
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        // The button texts of a question put with Choose.
        QStringList choices = {};
    };
    std::vector<Shown> messages;
    std::deque<MessageAnswer> answers;
    // The answers to Choose, as indices; none left answers with the last choice (Escape).
    std::deque<int> choiceAnswers;
    std::vector<FileRequest> fileRequests;
    std::deque<QString> files;
    // The filter a Save dialog reports as chosen; "" leaves the caller's.
    QString selectedFilter;
    // Handlers for modal dialogs: each fills the dialog and returns its result.
    std::deque<std::function<int(QDialog&)>> dialogs;

    MessageAnswer Message(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override {
        messages.push_back({title, text, icon, buttons});
        if (answers.empty())
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    int Choose(QWidget*, const QString& title, const QString& text, MessageIcon icon,
               const QStringList& choices) override {
        messages.push_back({title, text, icon, MessageButtons::OkCancel, choices});
        if (choiceAnswers.empty())
            return static_cast<int>(choices.size()) - 1;
        const int a = choiceAnswers.front();
        choiceAnswers.pop_front();
        return a;
    }
    QString ChooseFile(QWidget*, const FileRequest& request) override {
        fileRequests.push_back(request);
        if (request.selectedFilter != nullptr && !selectedFilter.isEmpty())
            *request.selectedFilter = selectedFilter;
        if (files.empty())
            return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }
    int Exec(QDialog& dialog) override {
        if (dialogs.empty())
            return QDialog::Rejected;
        auto handler = std::move(dialogs.front());
        dialogs.pop_front();
        return handler(dialog);
    }

    QStringList MessageTexts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }
};

} // namespace ry::test
