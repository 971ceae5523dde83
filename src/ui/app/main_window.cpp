#include "app/main_window.h"

#include "app/designer.h"
#include "app/script_commands.h"
#include "app/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "script/loader.h"
#include "script/module_types.h"
#include "settings/registry.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>

namespace ry {

namespace {

// Window positions are stored in twips, 15 to a pixel.
constexpr int kTwipsPerPixel = 15;

const QString kScreenPosKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos");

} // namespace

MainWindow::MainWindow(Designer& designer, const QString& commandLine, QWidget* parent)
    : QMainWindow(parent), designer_(designer), mdi_(new QMdiArea(this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setCentralWidget(mdi_);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    statusBar()->addWidget(status_, 1);
    connect(&designer, &Designer::statusTextChanged, status_, &QLabel::setText);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::OnSubWindowActivated);
    connect(&designer.Recent(), &RecentFiles::changed, this, &MainWindow::RefreshRecentMenu);

    RestorePosition();
    BuildMenus();
    InstallPaletteAndToolbar();
    designer.Recent().Load();
    OpenScript(QString());
    setWindowTitle(designer.BrandName());

    QString file = commandLine.trimmed();
    if (!file.isEmpty()) {
        if (file.startsWith(QLatin1Char('"')))
            file.remove(0, 1);
        if (file.endsWith(QLatin1Char('"')))
            file.chop(1);
        if (DocumentWindow* first = ActiveDocumentWindow())
            first->Discard();
        OpenScript(file);
    }
}

MainWindow::~MainWindow() = default;

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
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuTop(0)"));
    connect(AddAction(file, QStringLiteral("mnuFile(0)"), QStringLiteral("&New"),
                      QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &MainWindow::NewScript);
    connect(AddAction(file, QStringLiteral("mnuFile(1)"), QStringLiteral("&Open"),
                      QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::OpenScriptDialog);
    connect(AddAction(file, QStringLiteral("mnuFile(2)"), QStringLiteral("&Close")),
            &QAction::triggered, this, &MainWindow::CloseActive);
    file->addSeparator();
    AddAction(file, QStringLiteral("mnuFile(4)"), QStringLiteral("&Print"),
              QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    connect(AddAction(file, QStringLiteral("mnuFile(6)"), QStringLiteral("&Save"),
                      QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { SaveActive(0); });
    connect(AddAction(file, QStringLiteral("mnuFile(7)"), QStringLiteral("Save &As...")),
            &QAction::triggered, this, [this] {
                SaveActive(1);
                RefreshWindowList();
            });
    connect(AddAction(file, QStringLiteral("mnuFile(8)"), QStringLiteral("Save A&ll")),
            &QAction::triggered, this, &MainWindow::SaveAll);
    file->addSeparator()->setObjectName(QStringLiteral("mnuRecent(0)"));
    for (int n = 1; n <= RecentFiles::kCount; ++n) {
        QAction* recent = AddAction(file, QStringLiteral("mnuRecent(%1)").arg(n), QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this,
                [this, n] { OpenScript(designer_.Recent().At(n).trimmed()); });
    }
    file->addSeparator()->setObjectName(QStringLiteral("mnuRecent(11)"));
    connect(AddAction(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"),
                      QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuTop(1)"));
    AddAction(edit, QStringLiteral("mnuFind(0)"), QStringLiteral("&Find module"),
              QKeySequence(Qt::CTRL | Qt::Key_F));
    edit->addSeparator();
    connect(AddAction(edit, QStringLiteral("mnuEdit(0)"), QStringLiteral("&Copy module"),
                      QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, &MainWindow::CopyModule);
    connect(AddAction(edit, QStringLiteral("mnuEdit(1)"), QStringLiteral("&Paste module"),
                      QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, &MainWindow::PasteModule);
    connect(AddAction(edit, QStringLiteral("mnuEdit(2)"), QStringLiteral("&Delete module"),
                      QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, &MainWindow::DeleteModule);
    edit->addSeparator();
    AddAction(edit, QStringLiteral("mnuEdit(4)"), QStringLiteral("Script Proper&ties"),
              QKeySequence(Qt::CTRL | Qt::Key_T));
    AddAction(edit, QStringLiteral("mnuEdit(5)"), QStringLiteral("P&BX Command Strings"),
              QKeySequence(Qt::CTRL | Qt::Key_B));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuTop(2)"));
    QAction* statusItem =
        AddAction(view, QStringLiteral("mnuView(1)"), QStringLiteral("&Status Bar"));
    statusItem->setCheckable(true);
    statusItem->setChecked(true);
    connect(statusItem, &QAction::toggled, statusBar(), &QWidget::setVisible);
    QMenu* height = view->addMenu(QStringLiteral("Module &Height"));
    height->setObjectName(QStringLiteral("mnuView(2)"));
    QAction* shortItem =
        AddAction(height, QStringLiteral("mnuHeight(0)"), QStringLiteral("&Short"));
    QAction* longItem = AddAction(height, QStringLiteral("mnuHeight(1)"), QStringLiteral("&Long"));
    shortItem->setCheckable(true);
    longItem->setCheckable(true);
    connect(shortItem, &QAction::triggered, this, [this] { ModuleHeight(0); });
    connect(longItem, &QAction::triggered, this, [this] { ModuleHeight(1); });
    auto markHeight = [shortItem, longItem](int h) {
        shortItem->setChecked(h == kShortBoxHeight);
        longItem->setChecked(h != kShortBoxHeight);
    };
    markHeight(designer_.DefaultDisplayHeight());
    connect(&designer_, &Designer::defaultDisplayHeightChanged, this, markHeight);

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("mnuTop(3)"));
    connect(AddAction(window, QStringLiteral("mnuWindow(0)"), QStringLiteral("&Cascade")),
            &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(AddAction(window, QStringLiteral("mnuWindow(1)"), QStringLiteral("Tile &Horizontal")),
            &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(AddAction(window, QStringLiteral("mnuWindow(2)"), QStringLiteral("Tile &Vertical")),
            &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(AddAction(window, QStringLiteral("mnuWindow(3)"), QStringLiteral("Arrange &Icons")),
            &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    window->addSeparator();
    for (int n = 1; n <= 9; ++n) {
        QAction* entry = AddAction(window, QStringLiteral("mnuWindList(%1)").arg(n), QString());
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, entry] {
            // The entry's caption is "&n caption": bring forward the window it names.
            for (QMdiSubWindow* frame : mdi_->subWindowList())
                if (entry->text().contains(frame->windowTitle())) {
                    mdi_->setActiveSubWindow(frame);
                    return;
                }
        });
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuTop(4)"));
    AddAction(help, QStringLiteral("mnuHelp(0)"), QStringLiteral("&Contents"),
              QKeySequence(Qt::Key_F1));
    AddAction(help, QStringLiteral("mnuHelp(1)"), QStringLiteral("&Search For Help On..."));
    help->addSeparator();
    AddAction(help, QStringLiteral("mnuHelp(3)"),
              QStringLiteral("&About ") + designer_.BrandName());
}

void MainWindow::RestorePosition() {
    int left = 1000, top = 1000, width = 6500, height = 6500;
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        left = ReadRegLong(registry, QStringLiteral("KemLeft"), 1000);
        if (left < 0 || left > 30000)
            left = 0;
        top = ReadRegLong(registry, QStringLiteral("KemTop"), 1000);
        if (top < 0 || top > 30000)
            top = 0;
        width = std::max(5000, ReadRegLong(registry, QStringLiteral("KemWidth"), 6500));
        height = std::max(5000, ReadRegLong(registry, QStringLiteral("KemHeight"), 6500));
        registry.CloseKey();
    } catch (const RegistryError&) {
    }
    setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                height / kTwipsPerPixel);
}

void MainWindow::StorePosition() {
    const QRect g = geometry();
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kScreenPosKey, true);
        registry.WriteValue(QStringLiteral("KemLeft"), QString::number(g.x() * kTwipsPerPixel));
        registry.WriteValue(QStringLiteral("KemTop"), QString::number(g.y() * kTwipsPerPixel));
        registry.WriteValue(QStringLiteral("KemWidth"),
                            QString::number(g.width() * kTwipsPerPixel));
        registry.WriteValue(QStringLiteral("KemHeight"),
                            QString::number(g.height() * kTwipsPerPixel));
        registry.CloseKey();
    } catch (const RegistryError&) {
    }
}

DocumentWindow* MainWindow::ActiveDocumentWindow() const {
    if (QMdiSubWindow* frame = mdi_->activeSubWindow())
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

DocumentWindow* MainWindow::AddDocumentWindow(std::int16_t script, const QString& caption) {
    auto* window = new DocumentWindow(designer_, script);
    window->SetCaption(caption);
    QMdiSubWindow* frame = mdi_->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &DocumentWindow::closed, this, [this] {
        QMetaObject::invokeMethod(this, &MainWindow::RefreshWindowList, Qt::QueuedConnection);
    });
    connect(window, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    frame->setWindowTitle(caption);
    frame->resize(std::max(400, mdi_->width() * 3 / 4), std::max(300, mdi_->height() * 3 / 4));
    frame->show();
    mdi_->setActiveSubWindow(frame);
    designer_.SetCurrentDocument(window->DocumentIndex());
    window->Activated();
    return window;
}

void MainWindow::OpenScript(const QString& givenName) {
    const QString fileName = givenName.trimmed();
    if (!fileName.isEmpty()) {
        for (QMdiSubWindow* frame : mdi_->subWindowList()) {
            if (frame->windowTitle() == fileName) {
                mdi_->setActiveSubWindow(frame);
                return;
            }
        }
        designer_.Recent().Add(fileName);
    }
    ScriptTables& tables = designer_.Tables();
    auto fail = [&] {
        designer_.Message(QStringLiteral("File: ") + fileName +
                              QStringLiteral("\r\nCould not be loaded."),
                          MessageIcon::None, MessageButtons::Ok, this);
    };

    // The provisional script: one "Play" module, which a new script keeps.
    const std::int16_t provisional = tables.MemStructRys_Get();
    const std::int16_t firstModule = provisional >= 1 ? tables.MemStructRym_Get() : -1;
    if (provisional < 1 || firstModule < 1) {
        if (provisional >= 1)
            tables.MemStructRys_Free(provisional);
        fail();
        return;
    }
    {
        AppendModuleToScript(tables, provisional, firstModule);
        ModuleRecord& m = tables.Module(firstModule);
        m.Type = std::string(kTypePlay);
        m.Title = "Play " + std::to_string(firstModule);
        m.Txt = std::string(TypeDescription(kTypePlay));
        tables.Script(provisional).StartModule = m.Title;
    }

    std::int16_t loaded = -1;
    if (!fileName.isEmpty()) {
        loaded = RysScriptLoad(tables, designer_.CoreHost(), FromQt(fileName), kCallerDesigner);
        if (loaded < 1) {
            tables.MemStructRym_Free(firstModule);
            tables.MemStructRys_Free(provisional);
            fail();
            return;
        }
    }

    if (loaded < 1) {
        // A new script shows its single module in box 1.
        DocumentWindow* window = AddDocumentWindow(provisional, QString());
        window->SetCaption(designer_.BrandName() + QStringLiteral(" Script ") +
                           QString::number(window->DocumentIndex()));
        window->Document().AttachFirstBox(firstModule);
        window->Document().DeselectAllBoxes();
        RefreshWindowList();
        return;
    }

    tables.MemStructRym_Free(firstModule);
    tables.MemStructRys_Free(provisional);
    DocumentWindow* window = AddDocumentWindow(loaded, fileName);
    ScriptDocument& document = window->Document();
    window->Activated();
    const ScriptRecord& s = tables.Script(loaded);
    if (ScriptTables::IsModuleIndex(s.FirstModule)) {
        document.AttachFirstBox(s.FirstModule);
        int count = 1;
        for (std::int16_t m = tables.Module(s.FirstModule).NextModule;
             ScriptTables::IsModuleIndex(m); m = tables.Module(m).NextModule) {
            designer_.ShowStatusText(QStringLiteral("Displaying Module %1").arg(count++));
            const ModuleRecord& rec = tables.Module(m);
            if (document.CreateModuleBox(rec.PositionX, rec.PositionY, m) < 0)
                break;
        }
        designer_.ShowStatusText(QString());
    }
    document.DeselectAllBoxes();
    window->Scene().update();
    RefreshWindowList();
}

void MainWindow::NewScript() {
    OpenScript(QString());
    designer_.SetCurrentTool(QLatin1String(kArrowTool));
}

void MainWindow::OpenScriptDialog() {
    const QString name = designer_.Files().SelectFile_Script(this, QString());
    if (!name.isEmpty())
        OpenScript(name);
}

void MainWindow::CloseActive() {
    if (QMdiSubWindow* frame = mdi_->activeSubWindow())
        frame->close();
    RefreshWindowList();
}

void MainWindow::SaveActive(int mode) {
    if (DocumentWindow* window = ActiveDocumentWindow())
        SaveScript(designer_, *window, mode);
}

void MainWindow::SaveAll() {
    for (int slot = 1; slot <= std::min(20, designer_.DocumentSlotCount()); ++slot)
        if (DocumentWindow* window = designer_.Document(slot))
            SaveScript(designer_, *window, 0);
}

void MainWindow::CopyModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    const std::int16_t module = window->Document().ModuleOfBox(window->Document().CurrentBox());
    if (module >= 1)
        designer_.ModuleClipboard() = designer_.Tables().Module(module);
}

void MainWindow::PasteModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window || !designer_.ModuleClipboard())
        return;
    window->Document().PasteModule(*designer_.ModuleClipboard(), window->View().VisibleCentre());
}

void MainWindow::DeleteModule() {
    if (DocumentWindow* window = ActiveDocumentWindow())
        window->Document().DeleteSelectedModules();
}

void MainWindow::ModuleHeight(int index) {
    const int height = index == 0 ? kShortBoxHeight : kLongBoxHeight;
    designer_.SetDefaultDisplayHeight(height);
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    ScriptDocument& document = window->Document();
    for (std::int16_t module : document.SelectedModules()) {
        const int box = designer_.Tables().Module(module).BoxIndex;
        if (document.BoxHeight(box) != height)
            document.SetBoxHeight(box, height);
    }
}

void MainWindow::RefreshWindowList() {
    for (int n = 1; n <= 9; ++n)
        MenuAction(QStringLiteral("mnuWindList(%1)").arg(n))->setVisible(false);
    int n = 0;
    for (int slot = 1; slot <= designer_.DocumentSlotCount() && n < 9; ++slot) {
        DocumentWindow* window = designer_.Document(slot);
        if (!window)
            continue;
        ++n;
        QAction* entry = MenuAction(QStringLiteral("mnuWindList(%1)").arg(n));
        entry->setText(QStringLiteral("&%1 %2").arg(n).arg(window->Caption()));
        entry->setVisible(true);
    }
}

void MainWindow::RefreshRecentMenu() {
    for (int n = 1; n <= RecentFiles::kCount; ++n) {
        const QString path = designer_.Recent().At(n);
        if (path.isEmpty())
            continue;
        QAction* entry = MenuAction(QStringLiteral("mnuRecent(%1)").arg(n));
        entry->setText(QStringLiteral("&%1 %2").arg(n).arg(path.trimmed()));
        entry->setVisible(true);
    }
}

void MainWindow::OnSubWindowActivated(QMdiSubWindow* frame) {
    if (!frame)
        return;
    if (auto* window = qobject_cast<DocumentWindow*>(frame->widget()))
        window->Activated();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Each document asks about its own unsaved changes; a Cancel keeps everything open.
    mdi_->closeAllSubWindows();
    if (!mdi_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    StorePosition();
    event->accept();
}

} // namespace ry
