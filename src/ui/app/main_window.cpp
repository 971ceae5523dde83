#include "app/main_window.h"
#include "app/arrange_command.h"
#include "app/window_arrangement.h"

#include "base/designer.h"
#include "base/elided_label.h"
#include "base/registry.h"
#include "base/window_placement.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/connection_gestures.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "documents/document_manager.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QToolBar>
#include <QtMath>

#include <algorithm>
#include <vector>

namespace ry {

namespace {

const QString kScreenPosKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos");
// Beside the position: where the toolbars and docks are and which are shown.
const QString kLayoutValue = QStringLiteral("Layout");
constexpr int kLayoutVersion = 1;

// The window list and the recent files show nine entries each.
constexpr int kListEntries = 9;
// The window's share of the screen on a first start, with no stored position.
constexpr double kFirstStartShare = 0.8;
// The docks' first sizes: the overview a narrow column, the problem list a few rows.
constexpr int kOverviewFirstWidth = 200;
constexpr int kProblemsFirstHeight = 110;
// Room left around the boxes of a new document window.
constexpr int kDocumentMargin = 40;

QString ArrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

QRect ReadWindowPosition() {
    int left = 1000, top = 1000, width = 6500, height = 6500;
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        left = ReadRegLong(registry, QStringLiteral("KemLeft"), 1000);
        top = ReadRegLong(registry, QStringLiteral("KemTop"), 1000);
        width = ReadRegLong(registry, QStringLiteral("KemWidth"), 6500);
        height = ReadRegLong(registry, QStringLiteral("KemHeight"), 6500);
        registry.CloseKey();
    } catch (const RegistryError&) {
        // Whatever could not be read keeps its default.
    }
    if (left < 0 || left > 30000)
        left = 0;
    if (top < 0 || top > 30000)
        top = 0;
    return {left, top, std::max(5000, width), std::max(5000, height)};
}

bool HasStoredWindowPosition() {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        bool stored = false;
        for (const char* name : {"KemLeft", "KemTop", "KemWidth", "KemHeight"})
            stored = stored || !registry.ReadValue(QLatin1String(name)).isEmpty();
        registry.CloseKey();
        return stored;
    } catch (const RegistryError&) {
        return false;
    }
}

QRect FirstStartGeometry(const QRect& available) {
    const QSize size(qRound(available.width() * kFirstStartShare),
                     qRound(available.height() * kFirstStartShare));
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(available.center());
    return frame;
}

void WriteWindowPosition(const QRect& twips) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        registry.WriteValue(QStringLiteral("KemLeft"), QString::number(twips.x()));
        registry.WriteValue(QStringLiteral("KemTop"), QString::number(twips.y()));
        registry.WriteValue(QStringLiteral("KemWidth"), QString::number(twips.width()));
        registry.WriteValue(QStringLiteral("KemHeight"), QString::number(twips.height()));
        registry.CloseKey();
    } catch (const RegistryError&) {
        // The position is a convenience; the program closes all the same.
    }
}

QString ScriptPathOfCommandLine(const QString& commandLine) {
    // On this system blanks and quotes can be part of a name: a file that exists as given is
    // taken as given.
    if (!commandLine.isEmpty() && QFileInfo::exists(commandLine))
        return commandLine;
    QString file = commandLine.trimmed();
    if (file.startsWith(QLatin1Char('"')))
        file.remove(0, 1);
    if (file.endsWith(QLatin1Char('"')))
        file.chop(1);
    return file;
}

MainWindow::MainWindow(Designer& designer, const QString& commandLine, QWidget* parent)
    : QMainWindow(parent), designer_(designer), mdi_(new QMdiArea(this)),
      status_(new ElidedLabel(this)), documents_(new DocumentManager(designer, *this, this)) {
    setObjectName(QStringLiteral("frmMain"));
    // Every window of the program, the document windows and dialogs too, shows its icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/program.svg")));
    setCentralWidget(mdi_);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    status_->setObjectName(QStringLiteral("sbStatusBar(1)"));
    statusBar()->addWidget(status_, 1);
    connect(&designer, &Designer::statusTextChanged, status_, &QLabel::setText);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::OnSubWindowActivated);
    connect(&designer.Recent(), &RecentFiles::changed, this, &MainWindow::RefreshRecentMenu);
    connect(documents_, &DocumentManager::windowListChanged, this, &MainWindow::RefreshWindowList);

    RestorePosition();
    BuildMenus();
    InstallCanvasCommands();
    InstallPaletteAndToolbar();
    InstallHistoryAndZoom();
    InstallProblemsPanel();
    InstallTestCallPanel();
    InstallComparePanel();
    RestoreLayout();
    documents_->LoadRecent();
    documents_->OpenScript(QString());
    // The mark shows the active script's unsaved changes.
    setWindowTitle(
        QString(designer.BrandName()).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) +
        QStringLiteral("[*]"));

    const QString file = ScriptPathOfCommandLine(commandLine);
    if (!file.isEmpty()) {
        if (DocumentWindow* first = ActiveDocumentWindow())
            first->Discard();
        documents_->OpenScript(file);
    }
}

MainWindow::~MainWindow() {
    // The document windows close with the main window; nothing is to be activated or listed.
    documents_->StartUnloading();
    // They go now, while this is still a whole MainWindow: left to the QWidget destructor,
    // their area would report its last activations and closings to a half-destroyed window.
    disconnect(mdi_, nullptr, this, nullptr);
    delete mdi_;
}

QAction* MainWindow::AddAction(QMenu* menu, const QString& name, const QString& caption,
                               const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    actions_[name] = action;
    return action;
}

QAction* MainWindow::MenuAction(const QString& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus() {
    auto separator = [this](QMenu* menu, const QString& name) {
        QAction* s = menu->addSeparator();
        s->setObjectName(name);
        actions_[name] = s;
    };
    auto topMenu = [this](const QString& name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        actions_[name] = menu->menuAction();
        return menu;
    };

    QMenu* file = topMenu(ArrayName("mnuTop", 0), QStringLiteral("&File"));
    connect(AddAction(file, ArrayName("mnuFile", 0), QStringLiteral("&New"),
                      QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &MainWindow::NewScript);
    connect(AddAction(file, ArrayName("mnuFile", 1), QStringLiteral("&Open"),
                      QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::OpenScriptDialog);
    connect(AddAction(file, ArrayName("mnuFile", 2), QStringLiteral("&Close")), &QAction::triggered,
            this, &MainWindow::CloseActive);
    separator(file, ArrayName("mnuFile", 3));
    connect(AddAction(file, ArrayName("mnuFile", 4), QStringLiteral("&Print"),
                      QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &MainWindow::PrintActive);
    separator(file, ArrayName("mnuFile", 5));
    connect(AddAction(file, ArrayName("mnuFile", 6), QStringLiteral("&Save"),
                      QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { SaveActive(0); });
    connect(AddAction(file, ArrayName("mnuFile", 7), QStringLiteral("Save &As...")),
            &QAction::triggered, this, [this] {
                SaveActive(1);
                RefreshWindowList();
            });
    connect(AddAction(file, ArrayName("mnuFile", 8), QStringLiteral("Save A&ll")),
            &QAction::triggered, this, &MainWindow::SaveAll);
    separator(file, ArrayName("mnuRecent", 0));
    for (int n = 1; n <= RecentFiles::kCount; ++n) {
        QAction* recent = AddAction(file, ArrayName("mnuRecent", n), QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, n] { documents_->OpenRecent(n); });
    }
    separator(file, ArrayName("mnuRecent", 11));
    connect(AddAction(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"),
                      QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    QMenu* edit = topMenu(ArrayName("mnuTop", 1), QStringLiteral("&Edit"));
    AddAction(edit, ArrayName("mnuFind", 0), QStringLiteral("&Find module"),
              QKeySequence(Qt::CTRL | Qt::Key_F));
    separator(edit, ArrayName("mnuFind", 1));
    connect(AddAction(edit, ArrayName("mnuEdit", 0), QStringLiteral("&Copy module"),
                      QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, &MainWindow::CopyModule);
    connect(AddAction(edit, ArrayName("mnuEdit", 1), QStringLiteral("&Paste module"),
                      QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, &MainWindow::PasteModule);
    connect(AddAction(edit, ArrayName("mnuEdit", 2), QStringLiteral("&Delete module"),
                      QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, &MainWindow::DeleteModule);
    connect(AddAction(edit, QStringLiteral("mnuArrange"), QStringLiteral("&Arrange Modules")),
            &QAction::triggered, this, [this] {
                if (DocumentWindow* window = ActiveDocumentWindow()) {
                    window->CommitEdits();
                    window->Interaction().EndGestures();
                    ArrangeModules(this, designer_, *window);
                }
            });
    separator(edit, ArrayName("mnuEdit", 3));
    connect(AddAction(edit, ArrayName("mnuEdit", 4), QStringLiteral("Script Proper&ties"),
                      QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, &MainWindow::ScriptProperties);
    connect(AddAction(edit, ArrayName("mnuEdit", 5), QStringLiteral("P&BX Command Strings"),
                      QKeySequence(Qt::CTRL | Qt::Key_B)),
            &QAction::triggered, this, &MainWindow::PbxCommandStrings);
    connect(AddAction(edit, ArrayName("mnuEdit", 6), QStringLiteral("CT &Media Scripts"),
                      QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, &MainWindow::CtMediaScripts);

    QMenu* view = topMenu(ArrayName("mnuTop", 2), QStringLiteral("&View"));
    QAction* statusItem = AddAction(view, ArrayName("mnuView", 1), QStringLiteral("&Status Bar"));
    statusItem->setCheckable(true);
    statusItem->setChecked(true);
    connect(statusItem, &QAction::toggled, statusBar(), &QWidget::setVisible);
    QMenu* height = view->addMenu(QStringLiteral("Module &Height"));
    height->setObjectName(ArrayName("mnuView", 2));
    height->menuAction()->setObjectName(ArrayName("mnuView", 2));
    actions_[ArrayName("mnuView", 2)] = height->menuAction();
    QAction* shortItem = AddAction(height, ArrayName("mnuHeight", 0), QStringLiteral("&Short"));
    QAction* longItem = AddAction(height, ArrayName("mnuHeight", 1), QStringLiteral("&Long"));
    shortItem->setCheckable(true);
    longItem->setCheckable(true);
    connect(shortItem, &QAction::triggered, this, [this] { ModuleHeight(0); });
    connect(longItem, &QAction::triggered, this, [this] { ModuleHeight(1); });
    // The marks show the default height of new boxes, whoever changed it.
    auto markHeight = [shortItem, longItem](int h) {
        shortItem->setChecked(h == kShortBoxHeight);
        longItem->setChecked(h != kShortBoxHeight);
    };
    markHeight(designer_.DefaultDisplayHeight());
    connect(&designer_, &Designer::defaultDisplayHeightChanged, this, markHeight);

    QMenu* window = topMenu(ArrayName("mnuTop", 3), QStringLiteral("&Window"));
    connect(AddAction(window, ArrayName("mnuWindow", 0), QStringLiteral("&Cascade")),
            &QAction::triggered, this, &MainWindow::CascadeWindows);
    connect(AddAction(window, ArrayName("mnuWindow", 1), QStringLiteral("Tile &Horizontal")),
            &QAction::triggered, this, [this] { TileWindows(Qt::Horizontal); });
    connect(AddAction(window, ArrayName("mnuWindow", 2), QStringLiteral("Tile &Vertical")),
            &QAction::triggered, this, [this] { TileWindows(Qt::Vertical); });
    connect(AddAction(window, ArrayName("mnuWindow", 3), QStringLiteral("Arrange &Icons")),
            &QAction::triggered, this, &MainWindow::ArrangeIcons);
    separator(window, ArrayName("mnuWindow", 4));
    for (int n = 1; n <= kListEntries; ++n) {
        QAction* entry = AddAction(window, ArrayName("mnuWindList", n), QString());
        entry->setVisible(false);
        // Each entry remembers the slot of the window it lists: finding the window by its
        // caption inside the entry's text would confuse "Script 1" with "Script 12", or a
        // file with another of the same name in a longer path.
        connect(entry, &QAction::triggered, this,
                [this, entry] { BringToFront(documents_->WindowInSlot(entry->data().toInt())); });
    }
    // Past the ninth document the list goes on in a dialog.
    QAction* more =
        AddAction(window, QStringLiteral("mnuWindMore"), QStringLiteral("&More Windows…"));
    more->setVisible(false);
    connect(more, &QAction::triggered, this, &MainWindow::ShowMoreWindows);

    QMenu* help = topMenu(ArrayName("mnuTop", 4), QStringLiteral("&Help"));
    connect(AddAction(help, ArrayName("mnuHelp", 0), QStringLiteral("&Contents"),
                      QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::ShowHelpContents);
    connect(AddAction(help, ArrayName("mnuHelp", 1), QStringLiteral("&Search For Help On...")),
            &QAction::triggered, this, [this] { designer_.Programs().ShowHelp(kHelpTopic, true); });
    separator(help, ArrayName("mnuHelp", 2));
    AddAction(help, ArrayName("mnuHelp", 3), QStringLiteral("&About ") + designer_.BrandName());
}

void MainWindow::RestorePosition() {
    if (!HasStoredWindowPosition()) {
        // A first start: most of the screen, in its middle.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect frame = FirstStartGeometry(screen->availableGeometry());
            resize(frame.size());
            move(frame.topLeft());
            return;
        }
    }
    const QRect twips = ReadWindowPosition();
    const QRect stored(twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel,
                       twips.width() / kTwipsPerPixel, twips.height() / kTwipsPerPixel);
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    setGeometry(screen ? FitOnScreen(stored, screen->availableGeometry()) : stored);
}

void MainWindow::RestoreLayout() {
    // The docks' first sizes: small beside the canvas, which takes the rest.
    if (auto* overview = findChild<QDockWidget*>(QStringLiteral("Overview")))
        resizeDocks({overview}, {kOverviewFirstWidth}, Qt::Horizontal);
    if (auto* problems = findChild<QDockWidget*>(QStringLiteral("Problems")))
        resizeDocks({problems}, {kProblemsFirstHeight}, Qt::Vertical);
    QByteArray layout;
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        layout = QByteArray::fromBase64(registry.ReadValue(kLayoutValue).toLatin1());
        registry.CloseKey();
    } catch (const RegistryError&) {
        return;
    }
    // A layout of another version, or damaged, is passed over: the docks stay as made.
    if (!layout.isEmpty())
        restoreState(layout, kLayoutVersion);
    // View > Toolbar shows whether the restored layout shows the toolbar.
    if (auto* toolbar = findChild<QToolBar*>(QStringLiteral("pictToolBar")))
        if (QAction* item = MenuAction(QStringLiteral("mnuView(0)")))
            item->setChecked(!toolbar->isHidden());
}

void MainWindow::StoreLayout() {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        registry.WriteValue(kLayoutValue,
                            QString::fromLatin1(saveState(kLayoutVersion).toBase64()));
        registry.CloseKey();
    } catch (const RegistryError&) {
        // As the position: a convenience.
    }
}

void MainWindow::StorePosition() {
    const QRect g = geometry();
    WriteWindowPosition(QRect(g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel,
                              g.width() * kTwipsPerPixel, g.height() * kTwipsPerPixel));
}

DocumentWindow* MainWindow::ActiveDocumentWindow() const {
    // The current sub-window stays current while another program has the focus.
    if (QMdiSubWindow* frame = mdi_->currentSubWindow())
        if (auto* window = qobject_cast<DocumentWindow*>(frame->widget()))
            return window;
    return designer_.ActiveDocument();
}

QMdiSubWindow* MainWindow::FrameOf(DocumentWindow* window) const {
    for (QMdiSubWindow* frame : mdi_->subWindowList())
        if (frame->widget() == window)
            return frame;
    return nullptr;
}

void MainWindow::BringToFront(DocumentWindow* window) {
    if (!window)
        return;
    if (QMdiSubWindow* frame = FrameOf(window)) {
        mdi_->setActiveSubWindow(frame);
        frame->raise();
    }
    window->Activated();
}

void MainWindow::AddDocument(DocumentWindow& document) {
    DocumentWindow* window = &document;
    QMdiSubWindow* frame = mdi_->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &DocumentWindow::closed, this, &MainWindow::OnDocumentClosed);
    connect(window, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    connect(&window->Document(), &ScriptDocument::modifiedChanged, this, [this, window] {
        if (window == ActiveDocumentWindow())
            ShowModifiedMark();
    });
    // A first save or a Save As renames the window: the Window menu follows.
    connect(window, &QWidget::windowTitleChanged, this, [this] {
        if (!documents_->Unloading())
            RefreshWindowList();
    });
    frame->setWindowTitle(window->windowTitle());
    frame->setWindowModified(window->isWindowModified());
    FitFrame(*window);
    frame->show();
    mdi_->setActiveSubWindow(frame);
    window->Activated();
}

void MainWindow::FitFrame(DocumentWindow& window) {
    QMdiSubWindow* frame = FrameOf(&window);
    if (!frame || frame->isMaximized() || frame->isMinimized())
        return;
    // Before the main window is first shown its area has no size of its own yet; the frame
    // is fitted again then.
    const QSize area = mdi_->viewport()->size();
    // The boxes and their connectors with a margin, in view pixels, plus the frame's edges and
    // the view's scroll bars; at least three quarters of the area, at most all of it.
    const qreal scale = window.View().Zoom() / 100.0;
    const QRectF boxes = window.Scene().itemsBoundingRect();
    const int extent = window.View().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The frame's edges: as they are once shown, else as the style draws them.
    const int border =
        frame->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
    const QSize edges =
        frame->isVisible()
            ? frame->size() - window.size()
            : QSize(2 * border, border + frame->style()->pixelMetric(QStyle::PM_TitleBarHeight,
                                                                     nullptr, frame));
    const QSize needed(
        qCeil((std::max<qreal>(0, boxes.right()) + kDocumentMargin) * scale) + extent,
        qCeil((std::max<qreal>(0, boxes.bottom()) + kDocumentMargin) * scale) + extent);
    const QSize wanted = (needed + edges)
                             .expandedTo(QSize(area.width() * 3 / 4, area.height() * 3 / 4))
                             .expandedTo(QSize(400, 300));
    // Never beyond the area, even a small one: a frame wider than it hides its own buttons.
    frame->resize(wanted.boundedTo(area));
}

void MainWindow::ShowModifiedMark() {
    const DocumentWindow* window = ActiveDocumentWindow();
    setWindowModified(window && ScriptTables::IsScriptIndex(window->Script()) &&
                      designer_.Tables().Script(window->Script()).Modified);
}

void MainWindow::NewScript() {
    documents_->NewScript();
}

void MainWindow::OpenScriptDialog() {
    documents_->OpenScriptDialog();
}

void MainWindow::CloseActive() {
    documents_->CloseActive();
}

void MainWindow::CloseFrame(DocumentWindow& window) {
    if (QMdiSubWindow* frame = FrameOf(&window))
        frame->close();
    else
        window.close();
}

void MainWindow::SaveActive(int mode) {
    documents_->SaveActive(mode);
}

void MainWindow::SaveAll() {
    documents_->SaveAll();
}

void MainWindow::CopyModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    window->CommitEdits();
    const std::int16_t module = window->Document().ModuleOfBox(window->Document().CurrentBox());
    if (module >= 1)
        designer_.ModuleClipboard() = designer_.Tables().Module(module);
}

void MainWindow::PasteModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window || !designer_.ModuleClipboard())
        return;
    const ModuleRecord& copy = *designer_.ModuleClipboard();
    const int height =
        copy.DispSize >= 1 ? BoxHeightFor(copy.DispSize) : designer_.DefaultDisplayHeight();
    window->Document().PasteModule(copy, window->Interaction().PasteSpot(kBoxWidth, height));
}

void MainWindow::DeleteModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    // A selected connector goes instead: no box is selected then.
    if (window && !window->Interaction().Connections().DeleteSelected())
        window->Document().DeleteSelectedModules();
}

void MainWindow::ModuleHeight(int index) {
    const int height = index == 0 ? kShortBoxHeight : kLongBoxHeight;
    designer_.SetDefaultDisplayHeight(height);
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    ScriptDocument& document = window->Document();
    std::vector<int> boxes;
    for (std::int16_t module : document.SelectedModules()) {
        const int box = designer_.Tables().Module(module).BoxIndex;
        if (document.BoxHeight(box) != height)
            boxes.push_back(box);
    }
    // One edit, undone as one.
    if (!boxes.empty())
        document.SetBoxHeights(boxes, height);
}

void MainWindow::ShowHelpContents() {
    designer_.Programs().ShowHelp(kHelpTopic);
}

void MainWindow::CascadeWindows() {
    // Bottom to top, so that the active window stays in front; minimised windows stay where
    // they are.
    QList<QMdiSubWindow*> frames;
    for (QMdiSubWindow* frame : mdi_->subWindowList(QMdiArea::StackingOrder))
        if (frame->isVisible() && !frame->isMinimized())
            frames << frame;
    if (frames.isEmpty())
        return;
    QMdiSubWindow* active = mdi_->activeSubWindow();
    QStyleOptionTitleBar option;
    option.initFrom(frames.first());
    const int step =
        style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frames.first()) +
        style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frames.first());
    const std::vector<QRect> places =
        CascadeFrames(mdi_->viewport()->rect(), static_cast<int>(frames.size()), step,
                      frames.first()->minimumSizeHint());
    for (qsizetype i = 0; i < frames.size(); ++i) {
        QMdiSubWindow* frame = frames[i];
        if (frame->isMaximized())
            frame->showNormal();
        frame->setGeometry(places[static_cast<std::size_t>(i)]);
        frame->raise();
    }
    if (active)
        mdi_->setActiveSubWindow(active);
}

void MainWindow::TileWindows(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> frames;
    for (QMdiSubWindow* frame : mdi_->subWindowList())
        if (frame->isVisible() && !frame->isMinimized())
            frames << frame;
    if (frames.isEmpty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(frames.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* frame = frames[i];
        if (frame->isMaximized())
            frame->showNormal();
        // Horizontal tiles lie one above the other, vertical tiles side by side.
        if (orientation == Qt::Horizontal) {
            const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            frame->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            frame->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void MainWindow::ArrangeIcons() {
    // Minimised windows in rows from the bottom-left corner upwards.
    const QRect area = mdi_->viewport()->rect();
    int x = 0, rowBottom = area.height(), rowHeight = 0;
    for (QMdiSubWindow* frame : mdi_->subWindowList()) {
        if (!frame->isMinimized())
            continue;
        const QSize size = frame->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        frame->move(x, rowBottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void MainWindow::RefreshWindowList() {
    for (int n = 1; n <= kListEntries; ++n)
        MenuAction(ArrayName("mnuWindList", n))->setVisible(false);
    int n = 0;
    for (const ListedDocument& listed : documents_->ListedDocuments(kListEntries)) {
        ++n;
        QAction* entry = MenuAction(ArrayName("mnuWindList", n));
        entry->setText(QStringLiteral("&%1 %2").arg(n).arg(listed.caption));
        entry->setData(listed.slot);
        entry->setVisible(true);
    }
    MenuAction(QStringLiteral("mnuWindMore"))
        ->setVisible(static_cast<int>(documents_->ListedDocuments(kListEntries + 1).size()) >
                     kListEntries);
}

void MainWindow::RefreshRecentMenu() {
    for (int n = 1; n <= RecentFiles::kCount; ++n) {
        const QString path = documents_->RecentFile(n);
        QAction* entry = MenuAction(ArrayName("mnuRecent", n));
        // An empty place (a hole in the stored list, moved along by a new entry) shows
        // nothing: a caption left from before would open what the place no longer holds.
        entry->setVisible(!path.trimmed().isEmpty());
        if (entry->isVisible())
            entry->setText(QStringLiteral("&%1 %2").arg(n).arg(path.trimmed()));
    }
}

void MainWindow::OnSubWindowActivated(QMdiSubWindow* frame) {
    if (frame)
        if (auto* window = qobject_cast<DocumentWindow*>(frame->widget()))
            window->Activated();
    ShowModifiedMark();
}

void MainWindow::OnDocumentClosed() {
    if (documents_->Unloading())
        return;
    RefreshWindowList();
    // The window in the lowest slot becomes the active document, once the area has finished
    // closing the old one.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (int slot = 1; slot <= designer_.DocumentSlotCount(); ++slot)
                if (DocumentWindow* window = documents_->WindowInSlot(slot)) {
                    BringToFront(window);
                    break;
                }
            // The area may have activated that window already, while the closed one was
            // still the designer's current script: the mark is read again now.
            ShowModifiedMark();
        },
        Qt::QueuedConnection);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Queued: the questions wait until the activation is over.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !documents_->CheckingFiles())
        QTimer::singleShot(0, documents_, &DocumentManager::CheckFilesChangedOnDisk);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // The windows opened before the area had its size: the first script of the start and the
    // one the command line names.
    for (const QPointer<DocumentWindow>& window : documents_->OpenWindows())
        if (window)
            FitFrame(*window);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!documents_->CloseAll()) {
        event->ignore();
        return;
    }
    mdi_->closeAllSubWindows();
    StorePosition();
    StoreLayout();
    event->accept();
}

} // namespace ry
