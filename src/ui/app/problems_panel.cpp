#include "app/problems_panel.h"

#include "app/main_window.h"
#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/text.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>

namespace ry {

namespace {

// The file's time of last change; invalid when it cannot be read.
QDateTime FileTime(const std::string& fileName) {
    // A protected script's name may carry "|" and more after the file's own name.
    return QFileInfo(FromHostPath(fileName.substr(0, fileName.find('|')))).lastModified();
}

} // namespace

ProblemsPanel::ProblemsPanel(Designer& designer, QWidget* parent)
    : QDockWidget(QStringLiteral("Problems"), parent), designer_(designer),
      list_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("Problems"));
    list_->setObjectName(QStringLiteral("lstProblems"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Module"), QStringLiteral("Problem")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 180);
    setWidget(list_);

    // A zero interval: the check runs once the edit that asked for it, and every other event
    // already waiting (the rest of a script being opened, every box of a drop), is done.
    refresh_.setSingleShot(true);
    refresh_.setInterval(0);
    connect(&refresh_, &QTimer::timeout, this, &ProblemsPanel::Refresh);

    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && stale_)
            ScheduleRefresh();
    });
    // The files that modules name may have been recorded or copied in another program.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    ScheduleRefresh();
            });
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowProblem(list_->indexOfTopLevelItem(item)); });
}

ProblemsPanel::~ProblemsPanel() = default;

void ProblemsPanel::Follow(DocumentWindow* window) {
    if (window == window_) {
        ScheduleRefresh();
        return;
    }
    for (const auto& c : following_)
        disconnect(c);
    following_.clear();
    window_ = window;
    if (window) {
        ScriptDocument* document = &window->Document();
        // The file's start module is read the first time the panel sees the document, which
        // is when it opens: later its record may have been edited.
        if (!loadedStarts_.contains(document)) {
            loadedStarts_[document] = ReadLoadedStart(*document);
            connect(document, &QObject::destroyed, this,
                    [this, document] { loadedStarts_.erase(document); });
        }
        auto refresh = [this] { ScheduleRefresh(); };
        following_ = {
            // Every edit of the document is a step of its history, and so is every undo and
            // redo.
            connect(&document->History(), &QUndoStack::indexChanged, this, refresh),
            // A save rewrites the file whose start module the check may read; Save As also
            // moves the script to another folder, where its relative file names are looked
            // for.
            connect(document, &ScriptDocument::saved, this, refresh),
            connect(window, &QWidget::windowTitleChanged, this, refresh),
            // The records go back to their tables before the window itself goes.
            connect(window, &DocumentWindow::closed, this, [this] { Follow(nullptr); }),
        };
    }
    ScheduleRefresh();
}

void ProblemsPanel::ScheduleRefresh() {
    if (!refresh_.isActive())
        refresh_.start();
}

DocumentWindow* ProblemsPanel::LiveWindow() const {
    return LiveDocumentWindow(designer_, window_);
}

void ProblemsPanel::Refresh() {
    refresh_.stop();
    // Nothing to see: the check waits until the panel is shown.
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    std::vector<Problem> found;
    if (DocumentWindow* window = LiveWindow()) {
        CheckOptions options;
        options.WrittenStartModule = WrittenStartModule(window->Document());
        found = CheckScript(designer_.Tables(), window->Script(), options);
        ++checks_;
    }
    // An edit that changes no problem (a move, a selection) leaves the list, and the row the
    // user stands on, alone.
    if (found != problems_)
        ShowProblems(std::move(found));
}

void ProblemsPanel::ShowProblems(std::vector<Problem> found) {
    std::optional<Problem> current;
    if (const int row = list_->indexOfTopLevelItem(list_->currentItem());
        row >= 0 && row < static_cast<int>(problems_.size()))
        current = problems_[static_cast<size_t>(row)];

    problems_ = std::move(found);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(problems_.size()));
    for (const Problem& p : problems_) {
        const QString module = p.Module >= 1 ? ToQt(p.Title) : QLatin1String(kScriptRow);
        const QString reason = ToQt(p.Reason);
        auto* item = new QTreeWidgetItem({module, reason});
        item->setToolTip(0, module);
        item->setToolTip(1, reason);
        items << item;
    }
    list_->clear();
    list_->addTopLevelItems(items);

    if (current) {
        auto it = std::find(problems_.begin(), problems_.end(), *current);
        if (it != problems_.end())
            list_->setCurrentItem(list_->topLevelItem(static_cast<int>(it - problems_.begin())));
    }
}

void ProblemsPanel::ShowProblem(int row) {
    DocumentWindow* window = LiveWindow();
    if (!window || row < 0 || row >= static_cast<int>(problems_.size()))
        return;
    const Problem& p = problems_[static_cast<size_t>(row)];
    if (!ScriptTables::IsModuleIndex(p.Module))
        return;
    const ModuleRecord& m = designer_.Tables().Module(p.Module);
    // The list can trail an edit by a moment: a module deleted or renamed since is not taken
    // for whatever now has its record.
    if (m.IsFree || m.ScriptIndex != window->Script() || m.Title != p.Title)
        return;
    ScriptDocument& document = window->Document();
    if (document.ModuleOfBox(m.BoxIndex) != p.Module)
        return;
    // The box in the middle of the view, as far as the canvas's edges allow.
    window->View().centerOn(
        QPointF(m.PositionX + kBoxWidth / 2.0, m.PositionY + document.BoxHeight(m.BoxIndex) / 2.0));
    document.SelectOnlyBox(m.BoxIndex);
}

std::optional<ProblemsPanel::LoadedStart>
ProblemsPanel::ReadLoadedStart(const ScriptDocument& document) {
    if (!ScriptTables::IsScriptIndex(document.Script()))
        return std::nullopt;
    const ScriptRecord& s = document.Record();
    if (s.FileName.empty())
        return std::nullopt;
    std::optional<std::string> written = WrittenStartModuleOfFile(s.FileName);
    // The loader keeps a start module that names a module.
    if (!written || *written == s.StartModule)
        return std::nullopt;
    return LoadedStart{s.FileName, FileTime(s.FileName), *written, s.StartModule};
}

std::optional<std::string> ProblemsPanel::WrittenStartModule(const ScriptDocument& document) {
    auto it = loadedStarts_.find(&document);
    if (it == loadedStarts_.end() || !it->second)
        return std::nullopt;
    const LoadedStart& loaded = *it->second;
    const ScriptRecord& s = document.Record();
    // Another start module chosen, or the script saved (which writes the one it has now): the
    // record tells where calls start. So does a module given the lost name since, which a
    // save would not make the start module. Each is judged as the document stands now, so an
    // undo of the edit brings the file's start module back.
    bool still = s.StartModule == loaded.settled && s.FileName == loaded.file &&
                 FileTime(loaded.file) == loaded.fileTime;
    if (still)
        ForEachModule(designer_.Tables(), document.Script(),
                      [&](std::int16_t, const ModuleRecord& m) {
                          still = still && !IEquals(m.Title, loaded.written);
                      });
    if (!still)
        return std::nullopt;
    return loaded.written;
}

// ---- The main window's hook.

void MainWindow::InstallProblemsPanel() {
    auto* panel = new ProblemsPanel(designer_, this);
    addDockWidget(Qt::BottomDockWidgetArea, panel);

    QAction* item = panel->toggleViewAction();
    item->setObjectName(QStringLiteral("mnuView(3)"));
    item->setText(QStringLiteral("&Problems"));
    if (auto* view = findChild<QMenu*>(QStringLiteral("mnuTop(2)")))
        view->addAction(item);
    actions_[item->objectName()] = item;

    // With this window as the receiver: its teardown disconnects the area from it before the
    // document windows go.
    connect(mdi_, &QMdiArea::subWindowActivated, this,
            [this, panel] { panel->Follow(ActiveDocumentWindow()); });
    panel->Follow(ActiveDocumentWindow());
}

} // namespace ry
