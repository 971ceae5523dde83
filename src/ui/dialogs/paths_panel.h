#pragma once

// The paths panel (frmDbiPathsSet, "Set Paths"): one module's path text, and fields that
// build one path line at a time from a trigger, a timeout, a destination and a voicemail box
// number. It lives in the Paths tab of the module's dialog, which fills its lists and text and
// stores the text on Apply.

#include "paths/path_line.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ry {

class Designer;

class PathsPanel : public QWidget {
    Q_OBJECT
public:
    PathsPanel(Designer& designer, std::int16_t module, QWidget* parent = nullptr);

    std::int16_t Module() const { return module_; }

    // The trigger captions offered (cmbTrig); the first is selected.
    void SetTriggers(const std::vector<std::string_view>& captions);
    // The destinations: every module title of the script in chain order, then the voicemail
    // destinations. A destination already chosen stays chosen, under its new title when its
    // module was renamed; at first none is chosen.
    void FillDestinationList(std::int16_t script);
    // The title listed for a module of the script; a null text when it is not listed.
    QString DestinationTitle(std::int16_t module) const;
    // The module's stored path text (LoadPathsText); it counts as unedited afterwards.
    void LoadPathsText();
    // Load step: box number and seconds emptied, seconds disabled, destination handling once.
    void ResetLineFields();

    // The path text as shown, with CR LF line ends.
    std::string PathsText() const;
    void SetPathsText(const std::string& text);
    // Whether the text was changed since it was last loaded.
    bool PathsEdited() const { return edited_; }
    // A module of the script was renamed: unapplied text has the rename made in it.
    void RenameInText(const QString& oldTitle, const QString& newTitle);

    // cmdAddPath: appends the line built from the fields, or says what is missing.
    void AddPath();
    // A destination still chosen becomes a path line, unless that line is already in the text
    // or was already added from these very choices. True when a line was added.
    bool AddPendingPath();

    // cmbTrig / cmbDest chosen: which of the seconds and box number fields can be used.
    void TriggerChanged();
    void DestinationChanged();
    // Leaving the seconds field: a whole number of 0 to 3600.
    void TimeoutLeft();

    QComboBox& Trigger() { return *trigger_; }
    QLineEdit& Timeout() { return *timeout_; }
    QComboBox& Destination() { return *destination_; }
    QLineEdit& BoxNumber() { return *boxNumber_; }
    QPlainTextEdit& Text() { return *text_; }

signals:
    // The path text changed: the owning dialog has unsaved changes.
    void edited();

private:
    PathLine BuildLine() const;
    void Append(const std::string& line);

    Designer& designer_;
    std::int16_t module_;
    QComboBox* trigger_;
    QLineEdit* timeout_;
    QComboBox* destination_;
    QLineEdit* boxNumber_;
    QPushButton* add_;
    QPlainTextEdit* text_;
    bool edited_ = false;
    bool loading_ = false;
    // The line last added from the fields; Apply does not add it again once the user has
    // removed it from the text.
    std::string lastAdded_;
};

// Shows a field enabled with the window background colour, or disabled with the colour of
// an inactive border.
void ShowFieldEnabled(QWidget* field, bool enabled);

} // namespace ry
