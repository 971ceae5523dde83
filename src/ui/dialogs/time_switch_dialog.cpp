#include "dialogs/time_switch_dialog.h"

#include "base/text_codec.h"
#include "base/typed_date_time_edit.h"
#include "script/text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

namespace ry {

namespace {

constexpr std::array<std::string_view, 7> kDayCodes = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};

} // namespace

QDateTime ToPicker(const DateTime& value) {
    const DateTime v = value.IsValid() ? value : DateTime{};
    return QDateTime(QDate(v.year, v.month, v.day), QTime(v.hour, v.minute, v.second), Qt::UTC);
}

DateTime FromPicker(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

TimeSwitchDialog::TimeSwitchDialog(Designer& designer, const ModuleDialogSetup& setup,
                                   const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Time Switch"));
    QGridLayout* grid = PageGrid(page);
    grid->addWidget(
        new QLabel(
            QStringLiteral("Date/Time to Check. Leave blank to use current time when script runs"),
            page),
        0, 0, 1, 4);
    dateToCheck_ = MakeLineEdit(QStringLiteral("txtDateToCheck"), page);
    grid->addWidget(dateToCheck_, 1, 0, 1, 4);

    auto* types = new QButtonGroup(page);
    const QString captions[2] = {
        QStringLiteral("The date / time falls between these two dates/times :"),
        QStringLiteral("The time falls between these times on selected days of week :")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], page);
        option->setObjectName(Indexed(QStringLiteral("optSwitchType"), i));
        types->addButton(option, i);
        type_[static_cast<size_t>(i)] = option;
        WatchEdits(option);
        connect(option, &QRadioButton::toggled, this, &TimeSwitchDialog::TypeChosen);
    }
    for (int i = 0; i < 4; ++i) {
        auto* picker = new TypedDateTimeEdit(page);
        picker->setObjectName(Indexed(QStringLiteral("dtp"), i));
        // Month names and AM/PM as the script's own dates write them, whatever the desktop's
        // language.
        picker->setLocale(QLocale::c());
        picker->setTimeSpec(Qt::UTC);
        picker->setDisplayFormat(i < 2 ? QStringLiteral("h:mm AP d-MMM-yyyy")
                                       : QStringLiteral("h:mm AP"));
        // A format without a date pins the picker to one day; the time pickers still hold a
        // stored value's whole date and time.
        picker->setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC),
                                 QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC));
        pickers_[static_cast<size_t>(i)] = picker;
        WatchEdits(picker);
    }
    grid->addWidget(type_[0], 2, 0, 1, 4);
    grid->addWidget(pickers_[0], 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("and"), page), 3, 1);
    grid->addWidget(pickers_[1], 3, 2);
    grid->addWidget(type_[1], 4, 0, 1, 4);
    grid->addWidget(pickers_[2], 5, 0);
    grid->addWidget(new QLabel(QStringLiteral("and"), page), 5, 1);
    grid->addWidget(pickers_[3], 5, 2);
    grid->addWidget(new QLabel(QStringLiteral("on following days :"), page), 6, 0, 1, 4);
    auto* dayRow = new QHBoxLayout;
    const QString dayNames[7] = {QStringLiteral("Monday"),    QStringLiteral("Tuesday"),
                                 QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                                 QStringLiteral("Friday"),    QStringLiteral("Saturday"),
                                 QStringLiteral("Sunday")};
    for (int k = 1; k <= 7; ++k) {
        auto* day = new QCheckBox(dayNames[k - 1], page);
        day->setObjectName(Indexed(QStringLiteral("chkDay"), k));
        days_[static_cast<size_t>(k - 1)] = day;
        WatchEdits(day);
        dayRow->addWidget(day);
    }
    grid->addLayout(dayRow, 7, 0, 1, 4);
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(3, 1);
}

void TimeSwitchDialog::TypeChosen() {
    const bool range = type_[0]->isChecked();
    pickers_[0]->setEnabled(range);
    pickers_[1]->setEnabled(range);
    pickers_[2]->setEnabled(!range);
    pickers_[3]->setEnabled(!range);
    for (QCheckBox* day : days_)
        day->setEnabled(!range);
}

void TimeSwitchDialog::LoadFields(const ModuleRecord& m) {
    dateToCheck_->setText(ToQt(Trim(m.sTimeSwitch_DateTimeToTest)));
    type_[m.iTimeSwitch_Type != 0 ? 1 : 0]->setChecked(true);
    TypeChosen();
    pickers_[0]->setDateTime(ToPicker(m.dTimeSwitch_DateStart));
    pickers_[2]->setDateTime(ToPicker(m.dTimeSwitch_DateStart));
    pickers_[1]->setDateTime(ToPicker(m.dTimeSwitch_DateEnd));
    pickers_[3]->setDateTime(ToPicker(m.dTimeSwitch_DateEnd));
    for (size_t k = 0; k < days_.size(); ++k)
        days_[k]->setChecked(m.sTimeSwitch_DaysSelected.find(kDayCodes[k]) != std::string::npos);
}

void TimeSwitchDialog::ApplyFields(ModuleRecord& m) {
    const QString toTest = ToQt(Trim(FromQt(dateToCheck_->text())));
    if (toTest != dateToCheck_->text())
        dateToCheck_->setText(toTest);
    m.sTimeSwitch_DateTimeToTest = FromQt(toTest);
    const bool range = type_[0]->isChecked();
    m.iTimeSwitch_Type = range ? 0 : 1;
    m.dTimeSwitch_DateStart = FromPicker(pickers_[range ? 0 : 2]->dateTime());
    m.dTimeSwitch_DateEnd = FromPicker(pickers_[range ? 1 : 3]->dateTime());
    std::string days;
    for (size_t k = 0; k < days_.size(); ++k)
        if (days_[k]->isChecked())
            days += kDayCodes[k];
    m.sTimeSwitch_DaysSelected = days;
}

} // namespace ry
