#pragma once

// Window > More Windows…: every open document by its caption, in the order of the Window
// menu, for the documents past the ninth that the menu has no room for. The active document
// is chosen at the start; OK (or a double click) picks the chosen one.

#include "documents/document_manager.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace ry {

class MoreWindowsDialog : public QDialog {
    Q_OBJECT
public:
    MoreWindowsDialog(std::vector<ListedDocument> documents, int activeSlot,
                      QWidget* parent = nullptr);

    QListWidget& List() { return *list_; }
    // The slot of the document chosen, 0 when none is.
    int ChosenSlot() const;

private:
    std::vector<ListedDocument> documents_;
    QListWidget* list_;
};

} // namespace ry
