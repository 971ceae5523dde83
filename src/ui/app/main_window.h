#pragma once

// The designer's main window: a multiple-document area with one window per open script, the
// menus, the status bar, and the commands that act on the active document.

#include <QMainWindow>

#include <cstdint>
#include <map>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace ry {

class Designer;
class DocumentWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Loads the window: position, recent files, an empty new script; then opens the script
    // named by `commandLine` when it is not empty.
    explicit MainWindow(Designer& designer, const QString& commandLine = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    Designer& designer() { return designer_; }
    QMdiArea& MdiArea() { return *mdi_; }

    // Opens a script file, or makes a new script when `fileName` is empty. A file already shown
    // (same caption, letter case counting) is brought to the front instead.
    void OpenScript(const QString& fileName);
    // The document window of the active document, if any.
    DocumentWindow* ActiveDocumentWindow() const;
    QMdiSubWindow* FrameOf(DocumentWindow* window) const;

    // A menu entry by its name, "mnuFile(6)" for example.
    QAction* MenuAction(const QString& name) const;

    // Commands of the menus, also reached from the toolbar and the document windows.
    void NewScript();
    void OpenScriptDialog();
    void CloseActive();
    void SaveActive(int mode);
    void SaveAll();
    void CopyModule();
    void PasteModule();
    void DeleteModule();
    // Module height of the selected boxes: 0 short, 1 long.
    void ModuleHeight(int index);
    void RefreshWindowList();
    void RefreshRecentMenu();

    // The module palette, the toolbar, View > Toolbar, and the Find module and About dialogs
    // (main_window_tools.cpp).
    void InstallPaletteAndToolbar();
    void ShowFindModule();
    void ShowAbout();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QAction* AddAction(QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut = {});
    void RestorePosition();
    void StorePosition();
    void OnSubWindowActivated(QMdiSubWindow* frame);
    DocumentWindow* AddDocumentWindow(std::int16_t script, const QString& caption);

    Designer& designer_;
    QMdiArea* mdi_;
    QLabel* status_;
    std::map<QString, QAction*> actions_;
};

} // namespace ry
