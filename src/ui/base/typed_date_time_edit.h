#pragma once

// A date and time picker that also takes a time typed whole: "9:30 AM", "9:30 pm", "21:30",
// "9:30 PM 12-Dec-2026". The stock picker edits one section at a time and jumps between them
// while keys are typed, so a time typed in one go lands in the wrong sections ("9:30 AM" became
// "12:30 A"). Here typed keys go into the text as they are, and the text is read when editing
// ends (Enter, Tab, a click elsewhere); a text that reads as no time leaves the value as it
// was. The arrow keys and the mouse wheel still step the section under the cursor; Tab moves
// to the next field, not the next section.
//
// The display format is "h:mm AP", optionally followed by " d-MMM-yyyy", in the C locale.

#include <QDateTimeEdit>

#include <optional>

namespace ry {

class TypedDateTimeEdit : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit TypedDateTimeEdit(QWidget* parent = nullptr);

    // The date and time `text` names, taking the date from `base` when the text names none;
    // nothing when it names none, or names a date where `withDate` is false.
    static std::optional<QDateTime> ReadTyped(const QString& text, const QDateTime& base,
                                              bool withDate);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab leaves the picker, as in every other field, after reading what was typed.
    bool focusNextPrevChild(bool next) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QDateTime dateTimeFromText(const QString& text) const override;

private:
    bool ShowsDate() const;
    std::optional<QDateTime> Read(const QString& text) const;
};

} // namespace ry
