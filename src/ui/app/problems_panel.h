#pragma once

// The "Problems" dock of the main window: what the script checker finds in the active
// document's script, one row per problem with the module's title ("(script)" for the script as
// a whole) and the reason. It follows the active document and checks its script again after
// each edit; a burst of edits (a script of 1000 modules opening, a drop of many boxes) is
// checked once, when it is over. Activating a row (a double click) shows the module: its box
// comes to the top-left of the visible canvas, as Go To Module puts it, and is the only one
// selected.

#include "check/checker.h"

#include <QDateTime>
#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include <map>
#include <optional>
#include <string>
#include <vector>

class QTreeWidget;

namespace ry {

class Designer;
class DocumentWindow;
class ScriptDocument;

class ProblemsPanel : public QDockWidget {
    Q_OBJECT
public:
    // What stands in the module column for a problem of the script as a whole.
    static constexpr const char* kScriptRow = "(script)";

    explicit ProblemsPanel(Designer& designer, QWidget* parent = nullptr);
    ~ProblemsPanel() override;

    // Shows the problems of this document's script from now on; null shows none.
    void Follow(DocumentWindow* window);
    DocumentWindow* Followed() const { return window_; }

    // Checks again once the events being handled now are done; more calls before then still
    // make one check.
    void ScheduleRefresh();
    // Checks the followed script now. A hidden panel checks nothing until it is shown.
    void Refresh();

    // The problems the list shows, row by row.
    const std::vector<Problem>& Problems() const { return problems_; }
    QTreeWidget& List() { return *list_; }
    // Shows the module of the problem in `row`; a problem of the script as a whole, or of a
    // module no longer in the script as listed, shows nothing.
    void ShowProblem(int row);

    // How many times a script has been checked.
    int CheckCount() const { return checks_; }

private:
    // A script whose file names a start module that is no module of it: the loader made the
    // script start at its first module, and only the file still tells that the start module
    // was lost. The check reads it from the file for as long as the document still starts
    // where the loader put it and the file is as it was loaded.
    struct LoadedStart {
        std::string file;
        QDateTime fileTime;
        std::string written;
        std::string settled;
    };
    static std::optional<LoadedStart> ReadLoadedStart(const ScriptDocument& document);
    std::optional<std::string> WrittenStartModule(const ScriptDocument& document);
    // The followed window while it still holds its script.
    DocumentWindow* LiveWindow() const;
    void ShowProblems(std::vector<Problem> found);

    Designer& designer_;
    QTreeWidget* list_;
    QTimer refresh_;
    QPointer<DocumentWindow> window_;
    std::vector<QMetaObject::Connection> following_;
    std::vector<Problem> problems_;
    // A check was skipped while the panel was hidden.
    bool stale_ = false;
    int checks_ = 0;
    // Per document, from the first time the panel saw it.
    std::map<const ScriptDocument*, std::optional<LoadedStart>> loadedStarts_;
};

} // namespace ry
