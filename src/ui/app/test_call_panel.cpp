#include "app/test_call_panel.h"

#include "app/main_window.h"
#include "app/scenario_files.h"
#include "base/designer.h"
#include "base/input_dialog.h"
#include "base/text_codec.h"
#include "canvas/box_highlight.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "scenario/scenario_run.h"
#include "script/module_types.h"
#include "script/text.h"
#include "walk/module_summary.h"
#include "walk/time_switch.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace ry {

namespace {

// What a row of the trace keeps of its module.
constexpr int kModuleRole = Qt::UserRole;
constexpr int kTitleRole = Qt::UserRole + 1;

// Buttons in a row of the event list.
constexpr int kEventColumns = 2;

// What the panel shows of a text, so that no title or file name makes it wider than the
// dock: titles, words of the module's summary, an event's button. The whole text is the tip.
constexpr int kTitleChars = 40;
constexpr int kWordChars = 28;
constexpr int kTitleWordChars = 18; // in bold
// The column's width, in characters: room for two event buttons and the titles.
constexpr int kColumnChars = 46;
constexpr int kEventChars = 14;

QString Elided(const QString& text, int chars) {
    return text.size() <= chars ? text : text.left(chars - 1) + QChar(0x2026);
}

QString WordsElided(const QString& line, int chars = kWordChars);

QString Title(const std::string& title) {
    return WordsElided(Elided(ToQt(title), kTitleChars), kTitleWordChars);
}

// A line that wraps at its blanks, each word too long to wrap shortened in its middle.
QString WordsElided(const QString& line, int chars) {
    QStringList words = line.split(QLatin1Char(' '));
    for (QString& word : words)
        if (word.size() > chars)
            word = word.left(chars / 2) + QChar(0x2026) + word.right(chars / 2 - 1);
    return words.join(QLatin1Char(' '));
}

// The keys of the dial pad, as a telephone lays them out.
constexpr const char* kKeys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};

// Whether an event is a single key of the dial pad.
bool IsKey(const std::string& event) {
    return event.size() == 1 &&
           std::string_view("0123456789*#").find(event[0]) != std::string_view::npos;
}

DateTime FromQDateTime(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
}

QDateTime ToQDateTime(const DateTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

// Marks a button as showing an event that a path takes.
constexpr const char* kHasPathProperty = "hasPath";

// How the walk ended, as a sentence.
QString EndText(const WalkEnding& end, const std::vector<WalkStep>& steps) {
    // A walk still going has no end yet: it is at the last module entered.
    const QString at = end.Reason == WalkEnd::None && !steps.empty() ? Title(steps.back().Title)
                                                                     : Title(end.Title);
    const QString event =
        steps.empty() || !steps.back().Event ? QString() : ToQt(*steps.back().Event);
    switch (end.Reason) {
    case WalkEnd::None:
        return QStringLiteral("Waiting at %1 for the caller or the line.").arg(at);
    case WalkEnd::Hangup:
        return QStringLiteral("The call ends: %1 hangs up.").arg(at);
    case WalkEnd::Transferred:
        return QStringLiteral("The call is transferred at %1.").arg(at);
    case WalkEnd::EmptyScript:
        return QStringLiteral("The script has no modules.");
    case WalkEnd::Voicemail:
        return QStringLiteral("The call goes to voicemail: [%1].")
            .arg(Elided(ToQt(end.Destination), kTitleChars));
    case WalkEnd::Return:
        return QStringLiteral("The call stops at %1: it returns, and nothing called it.").arg(at);
    case WalkEnd::NoPath:
        return QStringLiteral("The call stops at %1: no path takes \"%2\".")
            .arg(at, Elided(event, kTitleChars));
    case WalkEnd::UnknownDestination:
        return end.Module >= 1 ? QStringLiteral("The call stops at %1: [%2] names no module.")
                                     .arg(at, Elided(ToQt(end.Destination), kTitleChars))
                               : QStringLiteral("The script has no modules.");
    case WalkEnd::NoMoreEvents:
        return QStringLiteral("The call stops at %1.").arg(at);
    case WalkEnd::TimeSwitchEvent:
        return QStringLiteral("The call stops at %1: the clock answers it.").arg(at);
    case WalkEnd::StepLimit:
        return QStringLiteral("The call stops at %1 after %2 modules: it goes round a loop.")
            .arg(at)
            .arg(kWalkStepLimit);
    }
    return {};
}

} // namespace

TestCallPanel::TestCallPanel(Designer& designer, QWidget* parent)
    : QDockWidget(QStringLiteral("Test Call"), parent), designer_(designer),
      title_(new QLabel(this)), type_(new QLabel(this)), does_(new QLabel(this)),
      state_(new QLabel(this)), switch_(new QLabel(this)), force_(new QPushButton(this)),
      events_(new QWidget(this)), dialPad_(nullptr), digits_(new QLineEdit(this)),
      clock_(new QDateTimeEdit(this)), pages_(new QTabWidget(this)), trace_(new QTreeWidget(this)),
      tests_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("TestCall"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);

    auto* module = new QGroupBox(QStringLiteral("Current module"), body);
    auto* moduleLayout = new QVBoxLayout(module);
    title_->setObjectName(QStringLiteral("lblCallModule"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    type_->setObjectName(QStringLiteral("lblCallType"));
    does_->setObjectName(QStringLiteral("lblCallDoes"));
    state_->setObjectName(QStringLiteral("lblCallState"));
    switch_->setObjectName(QStringLiteral("lblCallSwitch"));
    for (QLabel* label : {title_, type_, does_, state_, switch_}) {
        label->setWordWrap(true);
        // Wrapped to the dock's width, never widening it.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setMinimumWidth(1);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        moduleLayout->addWidget(label);
    }
    // The branch of the last Time Switch, forced or left to the clock.
    force_->setObjectName(QStringLiteral("cmdCallForce"));
    connect(force_, &QPushButton::clicked, this, [this] {
        const std::int16_t at = LastSwitch();
        if (at < 1)
            return;
        const std::string& title = designer_.Tables().Module(at).Title;
        for (const auto& [forcedTitle, branch] : forced_)
            if (forcedTitle == title) {
                UseClock();
                return;
            }
        const std::optional<std::string> answer = [&]() -> std::optional<std::string> {
            for (auto it = walk_->Steps().rbegin(); it != walk_->Steps().rend(); ++it)
                if (it->Module == at)
                    return it->Event;
            return std::nullopt;
        }();
        Force(answer != "true");
    });
    auto* forceRow = new QHBoxLayout;
    forceRow->addWidget(force_);
    forceRow->addStretch(1);
    moduleLayout->addLayout(forceRow);
    layout->addWidget(module);

    // Time Switches are answered at this clock; a branch forced by hand wins over it.
    clock_->setObjectName(QStringLiteral("dtCallClock"));
    clock_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    clock_->setCalendarPopup(true);
    clock_->setToolTip(QStringLiteral("The date and time of the call, at which Time Switch "
                                      "modules are answered"));
    const QDateTime now = QDateTime::currentDateTime();
    clock_->setDateTime(QDateTime(now.date(), QTime(now.time().hour(), now.time().minute())));
    connect(clock_, &QDateTimeEdit::dateTimeChanged, this, [this] { Restart(); });
    auto* clockRow = new QFormLayout;
    clockRow->addRow(QStringLiteral("C&lock:"), clock_);
    layout->addLayout(clockRow);

    auto* events = new QGroupBox(QStringLiteral("Events"), body);
    auto* eventsLayout = new QVBoxLayout(events);
    events_->setObjectName(QStringLiteral("fraCallEvents"));
    new QGridLayout(events_);
    eventsLayout->addWidget(events_);
    dialPad_ = BuildDialPad();
    eventsLayout->addWidget(dialPad_);
    layout->addWidget(events);

    pages_->setObjectName(QStringLiteral("tabCallPages"));
    trace_->setObjectName(QStringLiteral("lstCallTrace"));
    trace_->setColumnCount(3);
    trace_->setHeaderLabels(
        {QStringLiteral("Module"), QStringLiteral("Event"), QStringLiteral("Path taken")});
    trace_->setUniformRowHeights(true);
    trace_->setAllColumnsShowFocus(true);
    trace_->setSelectionMode(QAbstractItemView::SingleSelection);
    trace_->header()->setStretchLastSection(true);
    trace_->setColumnWidth(0, 140);
    trace_->setColumnWidth(1, 70);
    pages_->addTab(trace_, QStringLiteral("&Trace"));
    connect(trace_, &QTreeWidget::itemClicked, this, &TestCallPanel::TraceRowClicked);
    connect(trace_, &QTreeWidget::itemActivated, this, &TestCallPanel::TraceRowClicked);

    tests_->setObjectName(QStringLiteral("lstCallTests"));
    tests_->setColumnCount(2);
    tests_->setHeaderLabels({QStringLiteral("Call"), QStringLiteral("Result")});
    tests_->setRootIsDecorated(false);
    tests_->setUniformRowHeights(true);
    tests_->setAllColumnsShowFocus(true);
    tests_->setColumnWidth(0, 220);
    tests_->setToolTip(QStringLiteral("Double-click a call to walk it again"));
    connect(tests_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Replay(tests_->indexOfTopLevelItem(item)); });
    pages_->addTab(tests_, QStringLiteral("Te&sts"));
    layout->addWidget(pages_, 1);

    auto* saveTest = new QPushButton(QStringLiteral("Save as Test..."), body);
    saveTest->setObjectName(QStringLiteral("cmdCallSaveTest"));
    saveTest->setToolTip(QStringLiteral("Keep this call as a test in the scenario file beside the "
                                        "script"));
    connect(saveTest, &QPushButton::clicked, this, [this] { SaveAsTest(); });
    auto* runTests = new QPushButton(QStringLiteral("Run Tests"), body);
    runTests->setObjectName(QStringLiteral("cmdCallRunTests"));
    runTests->setToolTip(QStringLiteral("Walk every call of the scenario file beside the script "
                                        "and show which pass"));
    connect(runTests, &QPushButton::clicked, this, [this] { RunTests(); });
    auto* restart = new QPushButton(QStringLiteral("&Restart"), body);
    restart->setObjectName(QStringLiteral("cmdCallRestart"));
    restart->setToolTip(QStringLiteral("Begin the call again at the start module"));
    connect(restart, &QPushButton::clicked, this, &TestCallPanel::Restart);
    // Two rows, so that a narrow column holds them.
    auto* buttons = new QGridLayout;
    buttons->addWidget(saveTest, 0, 0);
    buttons->addWidget(runTests, 0, 1);
    buttons->addWidget(restart, 1, 1);
    layout->addLayout(buttons);
    // The panel scrolls rather than stretch the main window past the screen.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrCallPanel"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(body);
    setWidget(scroll);
    FitWidth();

    // The mark shows only while the panel does.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool) { MarkCurrentBox(false); });
    ShowWalk();
}

TestCallPanel::~TestCallPanel() {
    delete highlight_;
}

QWidget* TestCallPanel::BuildDialPad() {
    auto* pad = new QWidget(this);
    pad->setObjectName(QStringLiteral("fraDialPad"));
    auto* grid = new QGridLayout(pad);
    int index = 0;
    for (const char* key : kKeys) {
        auto* button = new QPushButton(QLatin1String(key), pad);
        button->setObjectName(QStringLiteral("cmdKey(%1)").arg(QLatin1String(key)));
        button->setToolTip(QStringLiteral("Key in %1").arg(QLatin1String(key)));
        connect(button, &QPushButton::clicked, this, [this, key] { PressKey(QLatin1String(key)); });
        // The keys share the column's width, however narrow, rather than widen it.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        grid->addWidget(button, index / 3, index % 3);
        keys_.push_back(button);
        ++index;
    }
    digits_->setObjectName(QStringLiteral("txtCallDigits"));
    digits_->setPlaceholderText(QStringLiteral("A number or any event"));
    digits_->setToolTip(QStringLiteral("The keys the caller presses, or any event typed, sent as "
                                       "one event"));
    auto* send = new QPushButton(QStringLiteral("&Send"), pad);
    send->setObjectName(QStringLiteral("cmdCallSend"));
    send->setToolTip(QStringLiteral("Take the keys as the caller's event"));
    auto sendDigits = [this] {
        const QString keys = digits_->text().trimmed();
        digits_->clear();
        if (!keys.isEmpty())
            Take(keys);
    };
    connect(send, &QPushButton::clicked, this, sendDigits);
    connect(digits_, &QLineEdit::returnPressed, this, sendDigits);
    auto* row = new QHBoxLayout;
    row->addWidget(digits_, 1);
    row->addWidget(send);
    grid->addLayout(row, 4, 0, 1, 3);
    return pad;
}

void TestCallPanel::Follow(DocumentWindow* window) {
    // The same window again: its script may have been replaced meanwhile.
    if (window == window_) {
        DocumentEdited();
        return;
    }
    for (const auto& c : following_)
        disconnect(c);
    following_.clear();
    delete highlight_;
    window_ = window;
    // The tests listed were another script's.
    tests_->clear();
    listed_.clear();
    tested_.clear();
    if (window) {
        highlight_ = new BoxHighlight(window->Scene());
        following_ = {
            // Every edit of the document is a step of its history, and so is every undo and
            // redo.
            connect(&window->Document().History(), &QUndoStack::indexChanged, this,
                    &TestCallPanel::DocumentEdited),
            // The records go back to their tables before the window itself goes.
            connect(window, &DocumentWindow::closed, this, [this] { Follow(nullptr); }),
        };
    }
    Restart();
}

DocumentWindow* TestCallPanel::LiveWindow() const {
    return LiveDocumentWindow(designer_, window_);
}

void TestCallPanel::Restart() {
    given_.clear();
    forced_.clear();
    Rewalk();
}

void TestCallPanel::Rewalk() {
    walk_.reset();
    walked_.clear();
    if (DocumentWindow* window = LiveWindow()) {
        // The clock alone answers Time Switches, as rys test does for a call with a clock.
        walk_ = std::make_unique<ScriptWalk>(designer_.Tables(), window->Script(),
                                             FromQDateTime(clock_->dateTime()),
                                             TimeSwitchRule{true, forced_});
        for (const std::string& event : given_)
            walk_->Take(event);
        walk_->PassTimeSwitches();
        walked_ = WalkedText(designer_.Tables(), window->Script());
        ++starts_;
    }
    digits_->clear();
    ShowWalk();
    MarkCurrentBox(true);
}

void TestCallPanel::DocumentEdited() {
    DocumentWindow* window = LiveWindow();
    if (!window || WalkedText(designer_.Tables(), window->Script()) != walked_) {
        Restart();
        // Listed results belong to the script as it was: run them again.
        if (!listed_.empty())
            RunTests(true);
    }
}

void TestCallPanel::Take(const QString& event) {
    if (!walk_ || walk_->Ended() || !LiveWindow())
        return;
    const std::string given = FromQt(event);
    const std::string word = ToLowerAnsi(TrimBlanks(given));
    if (designer_.Tables().Module(walk_->Current()).Type == kTypeTimeSwitch &&
        (word == "true" || word == "false")) {
        // A Time Switch takes no event: its branch is chosen by hand.
        Force(word == "true");
        return;
    }
    given_.push_back(given);
    walk_->Take(given_.back());
    walk_->PassTimeSwitches();
    ShowWalk();
    MarkCurrentBox(true);
}

std::int16_t TestCallPanel::LastSwitch() const {
    if (!walk_)
        return -1;
    const std::vector<WalkStep>& steps = walk_->Steps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        if (it->Type == kTypeTimeSwitch && (it->Answered || it == steps.rbegin()))
            return it->Module;
    return -1;
}

void TestCallPanel::Force(bool branch) {
    const std::int16_t at = LastSwitch();
    if (at < 1 || !LiveWindow())
        return;
    const std::string& title = designer_.Tables().Module(at).Title;
    std::erase_if(forced_, [&](const auto& f) { return f.first == title; });
    forced_.emplace_back(title, branch);
    Rewalk();
}

void TestCallPanel::UseClock() {
    const std::int16_t at = LastSwitch();
    if (at < 1 || !LiveWindow())
        return;
    const std::string& title = designer_.Tables().Module(at).Title;
    std::erase_if(forced_, [&](const auto& f) { return f.first == title; });
    Rewalk();
}

void TestCallPanel::PressKey(const QString& key) {
    // A number gathers in the field; elsewhere a key is the caller's choice at once.
    if (CollectsNumber() || !digits_->text().isEmpty())
        digits_->insert(key);
    else
        Take(key);
}

bool TestCallPanel::CollectsNumber() const {
    return walk_ && !walk_->Ended() && walk_->Current() >= 1 &&
           designer_.Tables().Module(walk_->Current()).Type == kTypeGetNumbers;
}

void TestCallPanel::SetClock(const QDateTime& clock) {
    clock_->setDateTime(clock);
}

QDateTime TestCallPanel::Clock() const {
    return clock_->dateTime();
}

std::vector<QPushButton*> TestCallPanel::EventButtons() const {
    return eventButtons_;
}

bool TestCallPanel::ShowsPath(const QPushButton& button) {
    return button.property(kHasPathProperty).toBool();
}

void TestCallPanel::ShowEventButton(QPushButton& button, const QString& event) const {
    const std::optional<std::string> path = walk_ ? walk_->PathTaking(FromQt(event)) : std::nullopt;
    button.setProperty(kHasPathProperty, path.has_value());
    // A path's event stands out; one that would stop the call lies flat.
    QFont font = button.font();
    font.setBold(path.has_value());
    button.setFont(font);
    button.setFlat(!path);
    const QString tip = path ? QStringLiteral("\"%1\": %2").arg(event, ToQt(*path))
                             : QStringLiteral("\"%1\": no path takes it").arg(event);
    button.setToolTip(tip);
}

QString TestCallPanel::ScenarioFile() {
    DocumentWindow* window = LiveWindow();
    if (!window)
        return {};
    const std::string& script = window->Document().Record().FileName;
    if (script.empty()) {
        designer_.Message(QStringLiteral("Save the script first: its tests are kept in a file "
                                         "beside it."),
                          MessageIcon::Information, MessageButtons::Ok, this);
        return {};
    }
    return ScenarioFileOf(FromHostPath(script));
}

bool TestCallPanel::SaveAsTest(const QString& given) {
    DocumentWindow* window = LiveWindow();
    if (!walk_ || !window)
        return false;
    const QString file = ScenarioFile();
    if (file.isEmpty())
        return false;
    QString name = given.trimmed();
    if (name.isEmpty()) {
        InputDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Save as Test"));
        dialog.Description().setText(
            QStringLiteral("Name of the call, as the tests will show it:"));
        designer_.Prompts().Exec(dialog);
        name = dialog.Value().trimmed();
        if (name.isEmpty())
            return false;
    }
    // The call as rys test will walk it: the same events, from the start, at the same clock.
    const DateTime clock = FromQDateTime(clock_->dateTime());
    const WalkResult walk = WalkScript(designer_.Tables(), window->Script(), given_, clock,
                                       TimeSwitchRule{true, forced_});
    const ScenarioCall call = CallOfWalk(name.toStdString(), given_, walk, clock);
    const QString problem =
        AddCallToScenarioFile(file, FromHostPath(window->Document().Record().FileName), call);
    if (!problem.isEmpty()) {
        designer_.Message(QStringLiteral("The call was not saved to %1: %2").arg(file, problem),
                          MessageIcon::Exclamation, MessageButtons::Ok, this);
        return false;
    }
    designer_.ShowStatusText(
        QStringLiteral("The call \"%1\" was added to %2.").arg(name, QFileInfo(file).fileName()));
    return true;
}

void TestCallPanel::RunTests() {
    RunTests(false);
}

void TestCallPanel::RunTests(bool quiet) {
    DocumentWindow* window = LiveWindow();
    if (!window)
        return;
    const QString file =
        quiet ? (window->Document().Record().FileName.empty()
                     ? QString()
                     : ScenarioFileOf(FromHostPath(window->Document().Record().FileName)))
              : ScenarioFile();
    const ScenarioRead read = file.isEmpty() ? ScenarioRead{} : ReadScenarioFile(file);
    if (quiet && !read.scenario) {
        // Nothing to run them against: no result is better than an old one.
        tests_->clear();
        listed_.clear();
        tested_.clear();
        designer_.ShowStatusText(QStringLiteral("Tests: not run since the last edit."));
        return;
    }
    if (file.isEmpty())
        return;
    if (!read.scenario) {
        designer_.Message(
            read.problem.isEmpty()
                ? QStringLiteral("This script has no tests yet (%1). Walk a call, then choose "
                                 "Save as Test.")
                      .arg(QFileInfo(file).fileName())
                : QStringLiteral("The tests in %1 cannot be run: %2").arg(file, read.problem),
            MessageIcon::Information, MessageButtons::Ok, this);
        return;
    }
    tests_->clear();
    listed_.clear();
    const DateTime now = DateTime::Now();
    int failed = 0;
    tested_ = WalkedText(designer_.Tables(), window->Script());
    for (ScenarioCall call : read.scenario->Calls) {
        const bool clockOnly = ScenarioCallHasClock(*read.scenario, call);
        call.At = ScenarioClock(*read.scenario, call, now);
        const CallResult result =
            RunScenarioCall(designer_.Tables(), window->Script(), call, *call.At, clockOnly);
        const QString name = QString::fromStdString(call.Name);
        auto* row = new QTreeWidgetItem(
            tests_, {name, result.Passed ? QStringLiteral("passed") : QStringLiteral("failed")});
        const QColor colour = result.Passed ? QColor(0, 128, 0) : QColor(200, 0, 0);
        row->setForeground(0, colour);
        row->setForeground(1, colour);
        row->setIcon(0, style()->standardIcon(result.Passed ? QStyle::SP_DialogApplyButton
                                                            : QStyle::SP_DialogCancelButton));
        const QString tip = result.Passed ? name : QString::fromStdString(result.Failure);
        row->setToolTip(0, tip);
        row->setToolTip(1, tip);
        failed += result.Passed ? 0 : 1;
        listed_.push_back(std::move(call));
    }
    if (!quiet)
        pages_->setCurrentWidget(tests_);
    designer_.ShowStatusText(QStringLiteral("Tests: %1 passed, %2 failed.")
                                 .arg(static_cast<int>(listed_.size()) - failed)
                                 .arg(failed));
}

void TestCallPanel::Replay(int row) {
    if (row < 0 || row >= static_cast<int>(listed_.size()))
        return;
    const ScenarioCall call = listed_[static_cast<std::size_t>(row)];
    {
        // One start for the new clock, not two.
        const QSignalBlocker quiet(clock_);
        clock_->setDateTime(ToQDateTime(*call.At));
    }
    given_ = call.Events;
    forced_ = call.Force;
    Rewalk();
    pages_->setCurrentWidget(trace_);
}

int TestCallPanel::BoxOfModule(std::int16_t module) const {
    DocumentWindow* window = LiveWindow();
    if (!window || !ScriptTables::IsModuleIndex(module))
        return 0;
    const int box = designer_.Tables().Module(module).BoxIndex;
    return window->Document().ModuleOfBox(box) == module ? box : 0;
}

int TestCallPanel::MarkedBox() const {
    return highlight_ && highlight_->isVisible() ? highlight_->Marked() : 0;
}

void TestCallPanel::MarkCurrentBox(bool scroll) {
    if (!highlight_)
        return;
    const int box = walk_ && isVisible() ? BoxOfModule(walk_->Current()) : 0;
    highlight_->Mark(box);
    if (box && scroll)
        if (BoxItem* item = window_->Scene().Item(box))
            window_->View().ensureVisible(item, 40, 40);
}

void TestCallPanel::ShowWalk() {
    const bool walking = walk_ && walk_->Current() >= 1;
    if (walking) {
        const ModuleRecord& m = designer_.Tables().Module(walk_->Current());
        title_->setText(Title(m.Title));
        title_->setToolTip(ToQt(m.Title));
        type_->setText(ToQt(m.Type));
        QStringList lines, whole;
        for (const std::string& line : ModuleSummary(m)) {
            lines << WordsElided(ToQt(line));
            whole << ToQt(line);
        }
        does_->setText(lines.join(QLatin1Char('\n')));
        does_->setToolTip(whole.join(QLatin1Char('\n')));
    } else {
        title_->setText(walk_ ? QStringLiteral("(no module)") : QStringLiteral("(no script)"));
        type_->clear();
        does_->clear();
    }
    state_->setText(walk_ ? EndText(walk_->End(), walk_->Steps()) : QString());
    ShowSwitch();
    dialPad_->setEnabled(walk_ && !walk_->Ended());
    ShowEvents();
    ShowTrace();
}

void TestCallPanel::ShowSwitch() {
    const std::int16_t at = LastSwitch();
    const WalkStep* step = nullptr;
    if (at >= 1)
        for (const WalkStep& s : walk_->Steps())
            if (s.Module == at)
                step = &s;
    if (!step) {
        switch_->hide();
        force_->hide();
        return;
    }
    const QString title = Title(step->Title);
    if (!step->Answered) {
        // Waiting: its moment is nothing the clock can be compared with.
        switch_->setText(QStringLiteral("The clock cannot answer %1: choose its branch with "
                                        "true or false.")
                             .arg(title));
        force_->hide();
    } else if (step->Forced) {
        switch_->setText(
            QStringLiteral("%1 took %2, forced by hand.").arg(title, ToQt(*step->Event)));
        force_->setText(QStringLiteral("Use the Cloc&k"));
        force_->setToolTip(QStringLiteral("Let the clock answer %1 again").arg(title));
        force_->show();
    } else {
        const bool holds = step->Event == "true";
        switch_->setText(
            QStringLiteral("%1 took %2: %3.").arg(title, ToQt(*step->Event), ToQt(step->Why)));
        force_->setText(holds ? QStringLiteral("Force &False") : QStringLiteral("Force &True"));
        force_->setToolTip(
            QStringLiteral("Take the %1 branch of %2 whatever the clock; a test saved keeps it "
                           "as forced")
                .arg(holds ? QStringLiteral("false") : QStringLiteral("true"), title));
        force_->show();
    }
    switch_->show();
}

void TestCallPanel::FitWidth() {
    auto* scroll = static_cast<QScrollArea*>(widget());
    QWidget* body = scroll->widget();
    body->layout()->activate();
    // As wide as the panel's parts need, so that the dock column makes room for them: the
    // parts are kept short, so this stays a column beside the canvas.
    const int room = fontMetrics().averageCharWidth() * kColumnChars;
    scroll->setMinimumWidth(std::max(body->minimumSizeHint().width(), room) +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void TestCallPanel::ShowEvents() {
    for (QPushButton* button : eventButtons_)
        delete button;
    eventButtons_.clear();
    if (!walk_)
        return;
    auto* grid = static_cast<QGridLayout*>(events_->layout());
    for (QPushButton* key : keys_)
        ShowEventButton(*key, key->text());
    int index = 0;
    for (const std::string& event : walk_->OfferedEvents()) {
        if (IsKey(event))
            continue;
        const QString text = ToQt(event);
        // "&" would make the next letter a shortcut.
        auto* button = new QPushButton(
            Elided(text, kEventChars).replace(QLatin1Char('&'), QLatin1String("&&")), events_);
        button->setObjectName(QStringLiteral("cmdEvent(%1)").arg(index));
        // The buttons share the column's width, however narrow, rather than widen it.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        ShowEventButton(*button, text);
        connect(button, &QPushButton::clicked, this, [this, text] { Take(text); });
        grid->addWidget(button, index / kEventColumns, index % kEventColumns);
        eventButtons_.push_back(button);
        ++index;
    }
    FitWidth();
}

void TestCallPanel::ShowTrace() {
    trace_->clear();
    if (!walk_)
        return;
    const std::vector<WalkStep>& steps = walk_->Steps();
    QList<QTreeWidgetItem*> rows;
    for (size_t i = 0; i < steps.size(); ++i) {
        const WalkStep& step = steps[i];
        QString event = step.Event ? ToQt(*step.Event) : QString();
        if (step.Answered)
            event += step.Forced ? QStringLiteral(" (forced)") : QStringLiteral(" (clock)");
        auto* row = new QTreeWidgetItem(
            {ToQt(step.Title), event,
             step.Path ? ToQt(*step.Path)
                       : (step.Event ? QStringLiteral("(no path)") : QString())});
        row->setData(0, kModuleRole, static_cast<int>(step.Module));
        row->setData(0, kTitleRole, ToQt(step.Title));
        row->setToolTip(0, ToQt(step.Type));
        row->setToolTip(1, ToQt(step.Why));
        row->setToolTip(2, row->text(2));
        for (const WalkVariable& v : walk_->Variables()) {
            if (v.Step != i)
                continue;
            auto* set = new QTreeWidgetItem(
                row, {QString(), QString(),
                      QStringLiteral("[%1] = %2").arg(ToQt(v.Name), ToQt(v.Value))});
            set->setData(0, kModuleRole, static_cast<int>(step.Module));
            set->setData(0, kTitleRole, ToQt(step.Title));
        }
        rows << row;
    }
    trace_->addTopLevelItems(rows);
    trace_->expandAll();
    if (!rows.isEmpty())
        trace_->scrollToItem(rows.back());
}

void TestCallPanel::TraceRowClicked(QTreeWidgetItem* item) {
    DocumentWindow* window = LiveWindow();
    if (!window || !item)
        return;
    const auto module = static_cast<std::int16_t>(item->data(0, kModuleRole).toInt());
    // The trace keeps the titles it met; a module deleted or renamed since shows nothing.
    const int box = BoxOfModule(module);
    if (!box ||
        designer_.Tables().Module(module).Title != FromQt(item->data(0, kTitleRole).toString()))
        return;
    window->Document().SelectOnlyBox(box);
    if (BoxItem* boxItem = window->Scene().Item(box))
        window->View().ensureVisible(boxItem, 40, 40);
}

// ---- The main window's hook.

void MainWindow::InstallTestCallPanel() {
    auto* panel = new TestCallPanel(designer_, this);
    addDockWidget(Qt::RightDockWidgetArea, panel);
    // It shares the overview's place as a tab, which gives it the column's height.
    if (auto* overview = findChild<QDockWidget*>(QStringLiteral("Overview")))
        tabifyDockWidget(overview, panel);
    panel->hide();

    QAction* item = panel->toggleViewAction();
    item->setObjectName(QStringLiteral("mnuView(4)"));
    item->setText(QStringLiteral("Test &Call"));
    if (auto* view = findChild<QMenu*>(QStringLiteral("mnuTop(2)")))
        view->addAction(item);
    actions_[item->objectName()] = item;

    // The toolbar's button opens the panel, and brings it forward when it is open.
    if (auto* toolbar = findChild<QToolBar*>(QStringLiteral("pictToolBar"))) {
        QAction* button = toolbar->addAction(style()->standardIcon(QStyle::SP_MediaSeekForward),
                                             QStringLiteral("Test Call"));
        button->setObjectName(QStringLiteral("Test Call"));
        button->setToolTip(QStringLiteral("Walk a call through the active script"));
        connect(button, &QAction::triggered, this, [panel] {
            panel->show();
            panel->raise();
        });
    }

    connect(mdi_, &QMdiArea::subWindowActivated, this,
            [this, panel] { panel->Follow(ActiveDocumentWindow()); });
    panel->Follow(ActiveDocumentWindow());
}

} // namespace ry
