#pragma once

// The "Test Call" dock of the main window: a call walked through the active document's script
// without a telephone line. It shows the module the call is at (its title, its type and what
// it does on the call), a button for each event the module offers and a dial pad for keys and
// keyed numbers, marks the module's box on the canvas and scrolls it into view, and keeps a
// trace of the modules entered, the events taken and the variables set; clicking a row of the
// trace selects that module's box. Restart begins the call again.
//
// Keys are pressed on the one dial pad: a key is the caller's event at once, except where the
// module collects a number, where the keys gather in the field until Send. Events and keys that
// a path of the module takes look different from those that would stop the call. Time Switches
// are answered at the panel's clock at once, with the branch taken and why; the user may force
// the other branch, which a test saved keeps as forced (`force:`), never as an event.
//
// A walk can be kept as a test in the scenario file beside the script (Save as Test), and that
// file's calls run against the script as it is now (Run Tests); a listed call is walked again
// by a double-click. Once listed, the tests run again after every edit of the script, so the
// list never shows a result for the script as it was.
//
// It walks the script as the document holds it now, unsaved edits included. An edit that
// changes what a call meets (a path, a title, a type, a module's settings, the start module)
// starts the walk again from the start module; one that does not (a box moved, a box's text)
// leaves it where it is.

#include "scenario/scenario.h"
#include "walk/walk.h"

#include <QDockWidget>
#include <QPointer>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class QDateTime;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QTabWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace ry {

class BoxHighlight;
class Designer;
class DocumentWindow;

class TestCallPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TestCallPanel(Designer& designer, QWidget* parent = nullptr);
    ~TestCallPanel() override;

    // Walks this document's script from now on, from its start; null walks none.
    void Follow(DocumentWindow* window);
    DocumentWindow* Followed() const { return window_; }

    // Begins the call again at the start module.
    void Restart();
    // Takes an event at the current module, as its button or the dial pad would; "true" or
    // "false" at a Time Switch forces its branch.
    void Take(const QString& event);
    // Takes `branch` at the Time Switch the call passed last (or waits at), whatever the clock,
    // and walks the call's events again.
    void Force(bool branch);
    // Leaves that Time Switch to the clock again.
    void UseClock();
    // The Time Switch branches forced in this call, by title.
    const std::vector<std::pair<std::string, bool>>& Forced() const { return forced_; }

    // Presses a key of the dial pad.
    void PressKey(const QString& key);

    // The clock Time Switches are answered at; a new clock begins the call again.
    void SetClock(const QDateTime& clock);
    QDateTime Clock() const;

    // Adds the call so far to the scenario file beside the script, under `name`, or under the
    // name the user gives when `name` is empty. Whether it was added.
    bool SaveAsTest(const QString& name = {});
    // Runs the calls of the scenario file beside the script against the script as the
    // document holds it, and lists them passed or failed.
    void RunTests();
    // Whether the listed results are for the script as it is now.
    bool TestsCurrent() const { return !listed_.empty() && tested_ == walked_; }
    // The calls Run Tests listed, in the file's order.
    QTreeWidget& Tests() { return *tests_; }
    // Walks a listed call again from the start, at its clock.
    void Replay(int row);

    // The walk so far; null without a document.
    const ScriptWalk* Walk() const { return walk_.get(); }
    // The buttons of the events offered at the current module, in order; keys are on the dial
    // pad instead.
    std::vector<QPushButton*> EventButtons() const;
    // Whether the button shows an event that a path of the current module takes.
    static bool ShowsPath(const QPushButton& button);
    QTreeWidget& Trace() { return *trace_; }
    // The box the canvas marks; 0 for none.
    int MarkedBox() const;
    // How many times the walk has started (by Restart, an edit or another document).
    int Starts() const { return starts_; }

private:
    QWidget* BuildDialPad();
    // A new walk from the start with the forced branches, given the events so far again.
    void Rewalk();
    // The Time Switch the call passed last, or waits at; -1 for none.
    std::int16_t LastSwitch() const;
    void ShowSwitch();
    // Makes the dock column as wide as the panel's parts need.
    void FitWidth();
    // Runs the tests; `quiet` after an edit: no messages, the page stays.
    void RunTests(bool quiet);
    // Shows the walk: the current module, the events, the state, the trace and the mark.
    void ShowWalk();
    void ShowTrace();
    void ShowEvents();
    // Looks of an event's button: whether a path takes it, and what it does.
    void ShowEventButton(QPushButton& button, const QString& event) const;
    // Whether the current module collects a number keyed in, rather than single keys.
    bool CollectsNumber() const;
    // The script's scenario file; "" (said to the user) for a script never saved.
    QString ScenarioFile();
    void MarkCurrentBox(bool scroll);
    // The box of a module of the followed script; 0 when it has none.
    int BoxOfModule(std::int16_t module) const;
    // The followed window while it still holds its script.
    DocumentWindow* LiveWindow() const;
    // After a step of the document's history: starts again when the call would meet
    // something else.
    void DocumentEdited();
    void TraceRowClicked(QTreeWidgetItem* item);

    Designer& designer_;
    QPointer<DocumentWindow> window_;
    QPointer<BoxHighlight> highlight_;
    std::vector<QMetaObject::Connection> following_;
    std::unique_ptr<ScriptWalk> walk_;
    std::string walked_;
    std::vector<std::string> given_;                   // the events given since the walk began
    std::vector<std::pair<std::string, bool>> forced_; // Time Switch branches chosen by hand
    std::vector<ScenarioCall> listed_;
    std::string tested_; // what the listed tests ran against (WalkedText)
    int starts_ = 0;

    QLabel* title_;
    QLabel* type_;
    QLabel* does_;
    QLabel* state_;
    QLabel* switch_;
    QPushButton* force_;
    QWidget* events_;
    std::vector<QPushButton*> eventButtons_;
    QWidget* dialPad_;
    std::vector<QPushButton*> keys_;
    QLineEdit* digits_;
    QDateTimeEdit* clock_;
    QTabWidget* pages_;
    QTreeWidget* trace_;
    QTreeWidget* tests_;
};

} // namespace ry
