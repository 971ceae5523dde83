#pragma once

// The designer's main window: a multiple-document area with one window per open script, the
// menus, the status bar, and the commands that act on the active document.

#include "base/help_topics.h"
#include "documents/document_manager.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include <map>
#include <memory>

class QAction;
class QDate;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;

namespace ry {

class Designer;

// The main window's position and size in twips, as the registry key
// "Software\Cordaxa\Ryvane\ScreenPos" holds them ("KemLeft", "KemTop", "KemWidth",
// "KemHeight"). Reading corrects what would put the window out of reach: a left or top
// outside 0..30000 becomes 0, a width or height below 5000 becomes 5000; missing values give
// 1000, 1000, 6500, 6500.
QRect ReadWindowPosition();
void WriteWindowPosition(const QRect& twips);
// Whether any of the four values is stored: without one (a first start) the window takes
// FirstStartGeometry of the screen's available area instead, four fifths of it each way,
// centred.
bool HasStoredWindowPosition();
QRect FirstStartGeometry(const QRect& available);

// Window positions are stored in twips: 15 to a pixel on the 96-dpi screen they were
// designed for.
inline constexpr int kTwipsPerPixel = 15;

// The script a command line names: a file that exists as given, else trimmed, one leading and
// one trailing double quote removed. Empty when no script is named.
QString ScriptPathOfCommandLine(const QString& commandLine);

class MainWindow : public QMainWindow, public DocumentArea {
    Q_OBJECT
public:
    // Loads the window: position, recent files, an empty new script; then opens the script
    // named by `commandLine` when it is not empty.
    explicit MainWindow(Designer& designer, const QString& commandLine = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    Designer& designer() { return designer_; }
    QMdiArea& MdiArea() { return *mdi_; }
    // The open documents, which the File menu and the Window menu's list act on.
    DocumentManager& Documents() { return *documents_; }

    // The area's part of the documents (DocumentArea).
    void AddDocument(DocumentWindow& window) override;
    void FitFrame(DocumentWindow& window) override;
    void BringToFront(DocumentWindow* window) override;
    DocumentWindow* ActiveDocumentWindow() const override;
    void CloseFrame(DocumentWindow& window) override;
    QMdiSubWindow* FrameOf(DocumentWindow* window) const;

    // A menu entry by its name, "mnuFile(6)" for example; submenus by the name of their entry
    // ("mnuView(2)").
    QAction* MenuAction(const QString& name) const;

    // Commands of the menus, also reached from the toolbar and the document windows; the
    // File menu's are the document manager's.
    void NewScript();
    void OpenScriptDialog();
    void CloseActive();
    // mode 1: Save As; any other value: Save.
    void SaveActive(int mode);
    void SaveAll();
    // Asks for a printer (a PDF file is one) and prints the active canvas (main_window_canvas.cpp).
    void PrintActive();
    // Shows the active canvas's pages as they would print, with the printer's settings.
    void PrintPreviewActive();
    // Asks for a file and writes the active canvas's drawing to it as SVG, PNG or PDF.
    void ExportPicture();
    void CopyModule();
    void PasteModule();
    void DeleteModule();
    // Module height of new boxes and of the selected boxes: 0 short, 1 long.
    void ModuleHeight(int index);
    // The help file at the main window's topic.
    void ShowHelpContents();
    // Window menu: cascade, tile one above the other (horizontal) or side by side (vertical),
    // and line up the minimised windows along the bottom.
    void CascadeWindows();
    void TileWindows(Qt::Orientation orientation);
    void ArrangeIcons();

    void RefreshWindowList();
    void RefreshRecentMenu();

    // The module palette, the toolbar, View > Toolbar, and the Find module and About dialogs
    // (main_window_tools.cpp).
    void InstallPaletteAndToolbar();
    void ShowFindModule();
    // Window > More Windows…: every open document to choose from.
    void ShowMoreWindows();
    void ShowAbout();

    // Edit > Undo and Redo, the zoom of the canvas (View menu, Ctrl+wheel, the status bar's
    // "cmbZoom") and the "Overview" dock, all following the active document
    // (main_window_view.cpp).
    void InstallHistoryAndZoom();

    // File > Export Picture, and the keys Escape (the Arrow tool), Delete and Ctrl+V beside
    // the menus' own (main_window_canvas.cpp).
    void InstallCanvasCommands();

    // The "Problems" dock (View > Problems), checking the active document's script after its
    // edits (problems_panel.cpp).
    void InstallProblemsPanel();

    // The "Test Call" dock (View > Test Call, and the toolbar's "Test Call"), walking a call
    // through the active document's script (test_call_panel.cpp).
    void InstallTestCallPanel();

    // File > Compare With... and Compare With Saved Version, and the "Changes" dock that lists
    // and marks how the active script differs from the other version (compare_panel.cpp).
    void InstallComparePanel();

    // The settings dialogs (main_window_settings.cpp): the active document's script
    // properties (also the "&Script" menu of a canvas), the PBX strings of RY.INI, and the
    // CT Media scripts with the active script's ASI.
    void ScriptProperties();
    void PbxCommandStrings();
    void CtMediaScripts();

    // The help topic of the main window's Help menu.
    static constexpr int kHelpTopic = 1501;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    QAction* AddAction(QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut = {});
    void RestorePosition();
    void StorePosition();
    // The toolbars' and docks' places, beside the position.
    void RestoreLayout();
    void StoreLayout();
    void OnSubWindowActivated(QMdiSubWindow* frame);
    void OnDocumentClosed();
    // The title's modified mark follows the active document.
    void ShowModifiedMark();

    Designer& designer_;
    QMdiArea* mdi_;
    QLabel* status_;
    std::map<QString, QAction*> actions_;
    DocumentManager* documents_;
    bool shownOnce_ = false;
    int pictureScale_ = 1; // the size last chosen for a PNG picture

    // A printer for the window's drawing, prepared as PreparePrinter does.
    std::unique_ptr<QPrinter> CanvasPrinter(DocumentWindow& window);
    // Names the file a print to PDF proposes and turns the page the way the drawing fits.
    void PreparePrinter(DocumentWindow& window, QPrinter& printer);
};

// Prints a document's drawing (its boxes, connectors, labels and tags) with a header of the
// script's file name and `date` on each page: at its size on screen when it fits a page,
// shrunk while it stays readable, else spread over several pages. Returns the pages printed.
int PrintCanvas(DocumentWindow& window, QPrinter& printer, const QDate& date);
// The file a print to PDF proposes: "<script name>.pdf" in the script's folder; for a script
// never saved, "<caption>.pdf" in `otherFolder`.
QString PrintFileName(const QString& scriptFile, const QString& caption,
                      const QString& otherFolder);

} // namespace ry
