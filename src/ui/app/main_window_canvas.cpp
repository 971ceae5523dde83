// The main window's commands on the drawing of the active canvas (File > Print, File > Export
// Picture) and the keys of the canvas that act through the window (Escape, Delete, Ctrl+V).

#include "app/main_window.h"
#include "app/picture_scale_dialog.h"

#include "base/designer.h"
#include "base/prompter.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_picture.h"
#include "canvas/canvas_scene.h"
#include "canvas/document_window.h"
#include "canvas/print_pages.h"
#include "canvas/script_document.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

namespace ry {

namespace {

// The script's file as the host names it; empty for a script never saved.
QString ScriptFile(DocumentWindow& window) {
    return QFile::decodeName(QByteArray::fromStdString(window.Document().Record().FileName));
}

// The font of the printed header: the script's file name and the date.
QFont HeaderFont() {
    QFont font;
    font.setPointSizeF(9);
    return font;
}

// The page turned the way the drawing fits best.
QPageLayout::Orientation FittingOrientation(DocumentWindow& window, QPrinter& printer) {
    const QRectF drawing = DrawingArea(window.Scene());
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(QPageLayout::Portrait);
    const QRectF page = layout.paintRectPixels(printer.resolution());
    const qreal header = QFontMetricsF(HeaderFont(), &printer).height() * 2.0;
    return FitsLandscapeBetter({drawing.left(), drawing.top(), drawing.width(), drawing.height()},
                               page.width(), page.height(), header, printer.resolution() / 96.0)
               ? QPageLayout::Landscape
               : QPageLayout::Portrait;
}

} // namespace

QString PrintFileName(const QString& scriptFile, const QString& caption,
                      const QString& otherFolder) {
    if (scriptFile.isEmpty())
        return QDir(otherFolder).filePath(caption + QStringLiteral(".pdf"));
    const QFileInfo info(scriptFile);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

int PrintCanvas(DocumentWindow& window, QPrinter& printer, const QDate& date) {
    CanvasScene& scene = window.Scene();
    const QRectF drawing = DrawingArea(scene);
    QPainter painter(&printer);
    if (!painter.isActive())
        return 0;
    // The painter's origin is the printable part's top-left corner: the page's margins lie
    // outside it already.
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    // The header: the script's file name at the left, the date (and the page) at the right.
    painter.setFont(HeaderFont());
    const qreal headerHeight = painter.fontMetrics().height() * 2.0;
    const QString file = ScriptFile(window);
    const QString name = file.isEmpty() ? window.Caption() : QFileInfo(file).fileName();
    const QRectF body(page.left(), page.top() + headerHeight, page.width(),
                      page.height() - headerHeight);

    // A canvas pixel is a pixel of a 96-dpi screen.
    const PrintLayout layout =
        LayOutPrint({drawing.left(), drawing.top(), drawing.width(), drawing.height()},
                    body.width(), body.height(), printer.resolution() / 96.0);
    const int count = static_cast<int>(layout.Pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !printer.newPage())
            return i;
        const PrintArea& a = layout.Pages[static_cast<size_t>(i)].Area;
        const QRectF header(page.left(), page.top(), page.width(), headerHeight * 0.75);
        painter.setPen(Qt::black);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, name);
        QString right = QLocale().toString(date, QLocale::ShortFormat);
        if (count > 1)
            right = QStringLiteral("Page %1 of %2    ").arg(i + 1).arg(count) + right;
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, right);
        painter.drawLine(header.bottomLeft(), header.bottomRight());
        const QRectF target(body.topLeft(),
                            QSizeF(a.Width * layout.Scale, a.Height * layout.Scale));
        PaintDrawing(painter, scene, QRectF(a.Left, a.Top, a.Width, a.Height), target);
    }
    return count;
}

void MainWindow::PrintActive() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    window->CommitEdits();
    const std::unique_ptr<QPrinter> printer = CanvasPrinter(*window);
    QPrintDialog dialog(printer.get(), this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (designer_.Prompts().Exec(dialog) != QDialog::Accepted)
        return;
    PrintCanvas(*window, *printer, QDate::currentDate());
}

std::unique_ptr<QPrinter> MainWindow::CanvasPrinter(DocumentWindow& window) {
    // At the screen's resolution a drawing pixel is a printer pixel, so the drawing's one-pixel
    // lines keep their width on paper (at a printer's own resolution they would be hairlines,
    // and vanish from the preview).
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    PreparePrinter(window, *printer);
    return printer;
}

void MainWindow::PreparePrinter(DocumentWindow& window, QPrinter& printer) {
    // The dialogs propose "<script name>.pdf" in the script's folder when printing to a file,
    // and pages turned the way the drawing fits; the user may choose otherwise.
    const QString output = PrintFileName(ScriptFile(window), window.Caption(), QDir::homePath());
    printer.setDocName(QFileInfo(output).completeBaseName());
    printer.setOutputFileName(output);
    printer.setPageOrientation(FittingOrientation(window, printer));
}

void MainWindow::PrintPreviewActive() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    window->CommitEdits();
    const std::unique_ptr<QPrinter> printer = CanvasPrinter(*window);
    QPrintPreviewDialog dialog(printer.get(), this);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    const QPointer<DocumentWindow> shown(window);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [shown](QPrinter* target) {
        if (shown)
            PrintCanvas(*shown, *target, QDate::currentDate());
    });
    designer_.Prompts().Exec(dialog);
}

void MainWindow::ExportPicture() {
    DocumentWindow* window = ActiveDocumentWindow();
    if (!window)
        return;
    window->CommitEdits();
    const QString file = ScriptFile(*window);
    FileRequest request;
    request.kind = FileRequest::Save;
    request.title = QStringLiteral("Export Picture");
    request.filter =
        QStringLiteral("SVG Picture (*.svg);;PNG Picture (*.png);;PDF Document (*.pdf);;"
                       "Drawing Geometry (*.json)");
    // The dialog proposes the script's name as an SVG picture beside the script.
    const QString folder = file.isEmpty() ? QDir::homePath() : QFileInfo(file).absolutePath();
    const QString name = file.isEmpty() ? window->Caption() : QFileInfo(file).completeBaseName();
    request.folder =
        QDir(folder).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".svg"));
    QString chosen = designer_.Prompts().ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    // A name without an extension is an SVG picture.
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".svg");
    // A PNG picture may be larger than the drawing on screen.
    int scale = 1;
    if (QFileInfo(chosen).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0) {
        PictureScaleDialog ask(pictureScale_, this);
        if (designer_.Prompts().Exec(ask) != QDialog::Accepted)
            return;
        scale = pictureScale_ = ask.Scale();
    }
    QString error;
    const QString title = file.isEmpty() ? window->Caption() : QFileInfo(file).fileName();
    if (!WritePicture(window->Scene(), chosen, title, &error, scale)) {
        designer_.Message(error, MessageIcon::Exclamation, MessageButtons::Ok, this);
        return;
    }
    designer_.ShowStatusText(QStringLiteral("Picture written to ") +
                             QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()));
}

void MainWindow::InstallCanvasCommands() {
    // File > Export Picture..., after Print.
    if (QAction* print = MenuAction(QStringLiteral("mnuFile(4)"))) {
        QMenu* file = MenuAction(QStringLiteral("mnuTop(0)"))->menu();
        QAction* picture =
            AddAction(file, QStringLiteral("mnuExportPicture"), QStringLiteral("Export &Picture…"));
        file->removeAction(picture);
        const QList<QAction*> items = file->actions();
        const qsizetype at = items.indexOf(print);
        file->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, picture);
        connect(picture, &QAction::triggered, this, &MainWindow::ExportPicture);
        // File > Print Preview, after Print.
        QAction* preview =
            AddAction(file, QStringLiteral("mnuPrintPreview"), QStringLiteral("Print Pre&view…"));
        file->removeAction(preview);
        file->insertAction(picture, preview);
        connect(preview, &QAction::triggered, this, &MainWindow::PrintPreviewActive);
    }

    // Paste and Delete module by the keys every editor has, beside their own. A text field
    // being edited takes these keys first, so they act on its text there.
    if (QAction* paste = MenuAction(QStringLiteral("mnuEdit(1)")))
        paste->setShortcuts({paste->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V)});
    if (QAction* remove = MenuAction(QStringLiteral("mnuEdit(2)")))
        remove->setShortcuts({remove->shortcut(), QKeySequence(Qt::Key_Delete)});

    // Escape: back to the Arrow tool, giving up a connection or a path command on the way.
    auto* escape = new QAction(QStringLiteral("Arrow Tool"), this);
    escape->setObjectName(QStringLiteral("actEscape"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);
    addAction(escape);
    connect(escape, &QAction::triggered, this, [this] {
        if (DocumentWindow* window = ActiveDocumentWindow())
            window->Interaction().Escape();
        else
            designer_.SetCurrentTool(QLatin1String(kArrowTool));
    });
}

} // namespace ry
