#pragma once

// The "Changes" dock of the main window while a document is compared with another version of
// its script (File > Compare With...): one row per change, as rys diff words it, and the
// changes marked on the document's canvas. Activating a row selects its module's box and
// brings it into view. Edits of the document are compared again as they are made. Closing the
// comparison takes the marks away; the document is never changed by it.

#include <QDockWidget>
#include <QPointer>

#include <memory>

class QListWidget;
class QLabel;

namespace ry {

class ChangeMarks;
class Designer;
class DocumentWindow;
class ScriptComparison;

class ComparePanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ComparePanel(Designer& designer, QWidget* parent = nullptr);
    ~ComparePanel() override;

    // Compares the window's script with `otherFile`; false (and a message through the
    // designer's prompter) when the file does not load.
    bool Compare(DocumentWindow& window, const QString& otherFile);
    // Takes the marks away and hides the panel.
    void CloseComparison();

    bool Comparing() const;
    QListWidget& List() { return *list_; }
    ChangeMarks* Marks() const { return marks_; }
    // Selects and shows the module of the change in `row`; a row of the script as a whole or
    // of a removed module selects nothing.
    void ShowChange(int row);

private:
    void Refresh();

    Designer& designer_;
    QLabel* caption_;
    QListWidget* list_;
    QPointer<DocumentWindow> window_;
    QPointer<ChangeMarks> marks_;
    std::unique_ptr<ScriptComparison> comparison_;
    std::vector<QMetaObject::Connection> following_;
};

} // namespace ry
