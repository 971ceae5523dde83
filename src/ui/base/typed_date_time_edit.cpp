#include "base/typed_date_time_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace ry {

namespace {

const QRegularExpression& TypedPattern() {
    // hour[:minutes] [AM|PM|A|P] [day-month-year]
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2})(?::(\\d{1,2}))?\\s*(?:([AaPp])\\.?\\s*[Mm]?\\.?)?"
                       "\\s*(?:(\\d{1,2})[-/ ]([A-Za-z]{3,9})[-/ ](\\d{4}))?\\s*$"));
    return pattern;
}

// Characters a typed date and time is made of.
const QRegularExpression& TypingPattern() {
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-Za-z:\\-/. ]*$"));
    return pattern;
}

int MonthOf(const QString& name) {
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString start = name.left(3).toLower();
    for (int m = 0; m < 12; ++m)
        if (start == QLatin1String(kMonths[m]))
            return m + 1;
    return 0;
}

} // namespace

TypedDateTimeEdit::TypedDateTimeEdit(QWidget* parent) : QDateTimeEdit(parent) {
    // The stock correction would put back the old value whenever the cursor stands in a
    // section that takes no partial text, before the typed text is read.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

std::optional<QDateTime> TypedDateTimeEdit::ReadTyped(const QString& text, const QDateTime& base,
                                                      bool withDate) {
    const QRegularExpressionMatch m = TypedPattern().match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const QString half = m.captured(3).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("P") ? 12 : 0);
    }
    if (hour > 23 || minute > 59)
        return std::nullopt;
    QDate date = base.date();
    if (!m.captured(4).isEmpty()) {
        if (!withDate)
            return std::nullopt;
        date = QDate(m.captured(6).toInt(), MonthOf(m.captured(5)), m.captured(4).toInt());
        if (!date.isValid())
            return std::nullopt;
    }
    return QDateTime(date, QTime(hour, minute), base.timeSpec());
}

bool TypedDateTimeEdit::ShowsDate() const {
    return (displayedSections() & QDateTimeEdit::DateSections_Mask) != 0;
}

std::optional<QDateTime> TypedDateTimeEdit::Read(const QString& text) const {
    std::optional<QDateTime> value = ReadTyped(text, dateTime(), ShowsDate());
    if (value && (*value < minimumDateTime() || *value > maximumDateTime()))
        return std::nullopt;
    return value;
}

void TypedDateTimeEdit::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        lineEdit()->selectAll();
        return;
    }
    const QString text = event->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                        !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (typing) {
        lineEdit()->insert(text);
        return;
    }
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        lineEdit()->backspace();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        lineEdit()->del();
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

bool TypedDateTimeEdit::focusNextPrevChild(bool next) {
    interpretText();
    return QWidget::focusNextPrevChild(next);
}

QValidator::State TypedDateTimeEdit::validate(QString& input, int&) const {
    // Only the picker's own form is a finished value: any other text is still being typed, and
    // is read when editing ends.
    if (const std::optional<QDateTime> value = Read(input))
        if (input == textFromDateTime(*value))
            return QValidator::Acceptable;
    return TypingPattern().match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void TypedDateTimeEdit::fixup(QString& input) const {
    const std::optional<QDateTime> value = Read(input);
    input = textFromDateTime(value ? *value : dateTime());
}

QDateTime TypedDateTimeEdit::dateTimeFromText(const QString& text) const {
    return Read(text).value_or(dateTime());
}

} // namespace ry
