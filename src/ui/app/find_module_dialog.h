#pragma once

// Find Module: the titles of the active script's modules in chain order; Go To Module scrolls
// the canvas so that the chosen module's box is at the top-left of the visible area.

#include <QDialog>
#include <QPointer>

#include <string>
#include <vector>

class QListWidget;

namespace ry {

class Designer;
class DocumentWindow;

class FindModuleDialog : public QDialog {
    Q_OBJECT
public:
    FindModuleDialog(Designer& designer, DocumentWindow& window, QWidget* parent = nullptr);

    QListWidget& List() { return *list_; }
    // Scrolls to the first module in chain order whose title is the selected one, then
    // closes (also when none has it any more).
    void GoToModule();

private:
    Designer& designer_;
    QPointer<DocumentWindow> window_;
    QListWidget* list_;
    // The titles as the script holds them, one per row.
    std::vector<std::string> titles_;
};

} // namespace ry
