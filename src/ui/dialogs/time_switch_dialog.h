#pragma once

// The Time Switch module's dialog: the moment to test, and either a date/time range or a
// time-of-day range on chosen days of the week.

#include "dialogs/module_dialog.h"
#include "script/datetime.h"

#include <QDateTime>

#include <array>

class QCheckBox;
class QRadioButton;

namespace ry {

// The script's date/time as the pickers hold it, and back. Pickers work in UTC, so that no
// daylight-saving change of the local zone moves or refuses a stored time.
QDateTime ToPicker(const DateTime& value);
DateTime FromPicker(const QDateTime& value);

class TimeSwitchDialog : public ModuleDialog {
    Q_OBJECT
public:
    TimeSwitchDialog(Designer& designer, const ModuleDialogSetup& setup,
                     const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    void TypeChosen();

    QLineEdit* dateToCheck_;
    std::array<QRadioButton*, 2> type_;     // optSwitchType(0), (1)
    std::array<QDateTimeEdit*, 4> pickers_; // dtp(0) .. (3)
    std::array<QCheckBox*, 7> days_;        // chkDay(1) .. (7), Monday first
};

} // namespace ry
