// The main window's module palette and toolbar, View > Toolbar, and the Find module and About
// dialogs of the Edit and Help menus, and Window > More Windows….

#include "app/about_dialog.h"
#include "app/find_module_dialog.h"
#include "app/main_window.h"
#include "app/more_windows_dialog.h"
#include "app/palette.h"
#include "app/toolbar.h"
#include "base/designer.h"
#include "canvas/document_window.h"

#include <QAction>
#include <QMenu>

namespace ry {

void MainWindow::InstallPaletteAndToolbar() {
    auto* palette = new Palette(designer_, this);
    addToolBar(Qt::LeftToolBarArea, palette);
    auto* toolbar = new MainToolbar(*this, designer_);
    addToolBar(Qt::TopToolBarArea, toolbar);
    // Both bars stay where the menus put them: the window's own bar menu would hide them
    // behind the View menu's back.
    palette->toggleViewAction()->setVisible(false);
    toolbar->toggleViewAction()->setVisible(false);

    // View > Toolbar, above Status Bar.
    if (auto* view = findChild<QMenu*>(QStringLiteral("mnuTop(2)"))) {
        auto* item = new QAction(QStringLiteral("&Toolbar"), view);
        item->setObjectName(QStringLiteral("mnuView(0)"));
        item->setCheckable(true);
        item->setChecked(true);
        QAction* statusItem = MenuAction(QStringLiteral("mnuView(1)"));
        view->insertAction(view->actions().contains(statusItem) ? statusItem : nullptr, item);
        actions_[item->objectName()] = item;
        connect(item, &QAction::toggled, toolbar, &QWidget::setVisible);
    }

    if (QAction* find = MenuAction(QStringLiteral("mnuFind(0)")))
        connect(find, &QAction::triggered, this, &MainWindow::ShowFindModule);
    if (QAction* about = MenuAction(QStringLiteral("mnuHelp(3)")))
        connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::ShowFindModule() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    FindModuleDialog dialog(designer_, *window, this);
    designer_.Prompts().Exec(dialog);
}

void MainWindow::ShowMoreWindows() {
    DocumentWindow* active = ActiveDocumentWindow();
    MoreWindowsDialog dialog(documents_->ListedDocuments(designer_.DocumentSlotCount()),
                             active ? active->DocumentIndex() : 0, this);
    if (designer_.Prompts().Exec(dialog) == QDialog::Accepted)
        if (DocumentWindow* chosen = documents_->WindowInSlot(dialog.ChosenSlot()))
            BringToFront(chosen);
}

void MainWindow::ShowAbout() {
    AboutDialog dialog(designer_, this);
    designer_.Prompts().Exec(dialog);
}

} // namespace ry
