// The drawing of a script as a picture (File > Export Picture, rykem --export-picture) and on
// printed pages.

#include "designer_fixture.h"

#include "canvas/canvas_picture.h"
#include "canvas/canvas_scene.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <optional>

#include <sys/stat.h>

namespace ry::test {
namespace {

const QString kExample = QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages of a PDF file: its page objects.
int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

using PictureTest = DesignerTest;

TEST_F(PictureTest, ExportPictureWritesTheDrawingInTheFormatOfTheExtension) {
    MakeMain();
    Main().Documents().OpenScript(kExample);
    ASSERT_EQ(Active()->Caption(), kExample);
    QAction* item = Menu(QStringLiteral("mnuExportPicture"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Export &Picture…"));

    // A selected box is drawn as any other, and stays selected.
    ScriptDocument& document = Active()->Document();
    const int selected = document.Boxes().back();
    document.SelectOnlyBox(selected);
    const QString svg = folder_.filePath(QStringLiteral("office.svg"));
    prompter_.files.push_back(svg);
    Choose(QStringLiteral("mnuExportPicture"));
    EXPECT_TRUE(document.IsSelected(selected));
    EXPECT_EQ(document.CurrentBox(), selected);
    ASSERT_EQ(prompter_.fileRequests.size(), 1u);
    EXPECT_EQ(prompter_.fileRequests[0].kind, FileRequest::Save);
    // The script's name as an SVG picture beside it is proposed; where it went is said.
    EXPECT_EQ(prompter_.fileRequests[0].folder,
              QFileInfo(kExample).absolutePath() + QLatin1Char('/') +
                  QFileInfo(kExample).completeBaseName() + QStringLiteral(".svg"));
    EXPECT_EQ(Main().findChild<QLabel*>(QStringLiteral("sbStatusBar(1)"))->text(),
              QStringLiteral("Picture written to ") + svg);
    const QString text = QString::fromUtf8(ReadAll(svg));
    ASSERT_TRUE(text.startsWith(QStringLiteral("<?xml"))) << text.left(200).toStdString();
    // Titles, trigger labels and the tag of a voicemail destination are texts of the picture.
    for (const char* shown : {"Main Menu", "timeout 5", "Voicemail Box 200", "success"}) {
        EXPECT_TRUE(text.contains(QRegularExpression(
            QStringLiteral("<text[^>]*>\\s*") + QRegularExpression::escape(QLatin1String(shown)) +
            QStringLiteral("\\s*</text>"))))
            << shown;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("stroke-width=\"4\""))) << "the selection's frame";
    EXPECT_EQ(document.Record().Modified, false) << "a picture is no edit";

    // A PNG picture asks its size: as on screen, or two to four times larger.
    auto pngOf = [&](const char* name, int choice) {
        prompter_.files.push_back(folder_.filePath(QLatin1String(name)));
        prompter_.dialogs.push_back([choice](QDialog& dialog) {
            auto* size = dialog.findChild<QComboBox*>(QStringLiteral("cmbPictureScale"));
            EXPECT_NE(size, nullptr);
            if (!size)
                return int(QDialog::Rejected);
            EXPECT_EQ(size->count(), 4);
            size->setCurrentIndex(choice - 1);
            dialog.accept();
            return int(QDialog::Accepted);
        });
        Choose(QStringLiteral("mnuExportPicture"));
        return QImage(folder_.filePath(QLatin1String(name)));
    };
    const QImage once = pngOf("office.PNG", 1);
    const QImage twice = pngOf("office2.png", 2);
    ASSERT_FALSE(once.isNull());
    EXPECT_EQ(twice.size(), once.size() * 2);
    // Cancelled, nothing is written.
    prompter_.files.push_back(folder_.filePath(QStringLiteral("none.png")));
    Choose(QStringLiteral("mnuExportPicture"));
    EXPECT_FALSE(QFileInfo::exists(folder_.filePath(QStringLiteral("none.png"))));
    for (const char* name : {"office.pdf", "office"}) {
        prompter_.files.push_back(folder_.filePath(QLatin1String(name)));
        Choose(QStringLiteral("mnuExportPicture"));
    }
    EXPECT_TRUE(ReadAll(folder_.filePath(QStringLiteral("office.PNG"))).startsWith("\x89PNG"));
    const QByteArray pdf = ReadAll(folder_.filePath(QStringLiteral("office.pdf")));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(PdfPages(pdf), 1);
    // No extension: an SVG picture.
    EXPECT_TRUE(ReadAll(folder_.filePath(QStringLiteral("office.svg"))).startsWith("<?xml"));
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(PictureTest, APictureKeepsItsMarginAtTheCanvasCornerAndTheStartMark) {
    MakeMain();
    ScriptDocument& document = Active()->Document();
    const std::int16_t first = document.ModuleOfBox(document.Boxes().front());
    document.MoveModules({{first, QPoint(0, 0)}});
    document.SetStartModule(QString::fromLatin1(document.Module(first).Title.c_str()));
    document.DeselectAllBoxes();

    const QString png = folder_.filePath(QStringLiteral("corner.png"));
    ASSERT_TRUE(WritePicture(Active()->Scene(), png, QStringLiteral("corner"), nullptr));
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    // White all along the top-left corner, then the box's frame where the margin ends.
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    bool frame = false;
    for (int y = 14; y < 60; ++y)
        frame = frame || qGray(image.pixel(12, y)) < 128;
    EXPECT_TRUE(frame) << "the box's left edge 12 pixels in";

    const QString svg = folder_.filePath(QStringLiteral("corner.svg"));
    ASSERT_TRUE(WritePicture(Active()->Scene(), svg, QStringLiteral("corner"), nullptr));
    EXPECT_TRUE(
        QString::fromUtf8(ReadAll(svg))
            .contains(QRegularExpression(QStringLiteral("<text[^>]*>\\s*Start\\s*</text>"))));
}

TEST_F(PictureTest, APictureThatCannotBeWrittenIsSaidAndNothingIsLeft) {
    MakeMain();
    struct Case {
        const char* name;
        QString path;
    } cases[] = {
        {"no such folder", folder_.filePath(QStringLiteral("missing/office.svg"))},
        {"unknown extension", folder_.filePath(QStringLiteral("office.gif"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter_.messages.clear();
        prompter_.files.push_back(c.path);
        Choose(QStringLiteral("mnuExportPicture"));
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_TRUE(prompter_.messages[0].text.contains(c.path));
        EXPECT_FALSE(QFileInfo::exists(c.path));
    }
}

TEST_F(PictureTest, TheExportCommandExitsByWhatHappened) {
    const QString program = QStringLiteral(RYKEM_BINARY);
    ASSERT_TRUE(QFileInfo::exists(program)) << program.toStdString();
    // A protected script whose password nobody is there to give.
    const QString broken = WriteFile(QStringLiteral("broken.ryp"), "not a script at all");
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        bool written;
        const char* says; // on standard error
    } cases[] = {
        {"svg", {kExample, folder_.filePath(QStringLiteral("a.svg"))}, 0, true, ""},
        {"png", {kExample, folder_.filePath(QStringLiteral("a.png"))}, 0, true, ""},
        {"missing script",
         {folder_.filePath(QStringLiteral("none.rys")), folder_.filePath(QStringLiteral("b.svg"))},
         1,
         false,
         "none.rys: the script could not be loaded: there is no such file"},
        // A script that is no file says what it is.
        {"folder as the script",
         {folder_.path(), folder_.filePath(QStringLiteral("b2.svg"))},
         1,
         false,
         "could not be loaded: it is a folder, not a file"},
        {"device as the script",
         {QStringLiteral("/dev/null"), folder_.filePath(QStringLiteral("b3.svg"))},
         1,
         false,
         "could not be loaded: it is a device, not a file"},
        {"protected", {broken, folder_.filePath(QStringLiteral("c.svg"))}, 1, false, "broken.ryp"},
        {"unwritable",
         {kExample, folder_.filePath(QStringLiteral("no/d.svg"))},
         1,
         false,
         "no/d.svg"},
        {"unknown format",
         {kExample, folder_.filePath(QStringLiteral("e.bmp"))},
         1,
         false,
         "e.bmp"},
        {"no output named", {kExample}, 2, false, "usage"},
        {"png twice as large",
         {kExample, folder_.filePath(QStringLiteral("f.png")), QStringLiteral("--scale"),
          QStringLiteral("2")},
         0,
         true,
         ""},
        {"scale out of range",
         {kExample, folder_.filePath(QStringLiteral("g.png")), QStringLiteral("--scale"),
          QStringLiteral("5")},
         2,
         false,
         "usage"},
        {"scale without a number",
         {kExample, folder_.filePath(QStringLiteral("h.png")), QStringLiteral("--scale")},
         2,
         false,
         "usage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY")); // runs without a display
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("RYVANE_HOME"), ProgramFolder());
        process.setProcessEnvironment(env);
        process.start(program, QStringList{QStringLiteral("--export-picture")} + c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString error = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.exitCode) << error.toStdString();
        if (c.arguments.size() > 1) {
            EXPECT_EQ(QFileInfo::exists(c.arguments[1]), c.written);
        }
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << error.toStdString();
    }
    EXPECT_TRUE(ReadAll(folder_.filePath(QStringLiteral("a.svg"))).contains("Voicemail Box 200"));
    const QImage once(folder_.filePath(QStringLiteral("a.png")));
    EXPECT_EQ(QImage(folder_.filePath(QStringLiteral("f.png"))).size(), once.size() * 2);
}

// A picture's file takes the rules of a script's: a pipe, a device or a link to one is never
// replaced, and a link is followed to the file it names, made when missing.
TEST_F(PictureTest, TheExportCommandWritesOnlyRegularFilesAndFollowsLinks) {
    const QString program = QStringLiteral(RYKEM_BINARY);
    const QString pipe = folder_.filePath(QStringLiteral("pipe.svg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString toPipe = folder_.filePath(QStringLiteral("to-pipe.svg"));
    ASSERT_TRUE(QFile::link(pipe, toPipe));
    const QString dangling = folder_.filePath(QStringLiteral("dangling.svg"));
    ASSERT_TRUE(QFile::link(folder_.filePath(QStringLiteral("made.svg")), dangling));
    struct Case {
        QString out;
        int exitCode;
    } cases[] = {{pipe, 1}, {toPipe, 1}, {dangling, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out.toStdString());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("RYVANE_HOME"), ProgramFolder());
        process.setProcessEnvironment(env);
        process.start(program, {QStringLiteral("--export-picture"), kExample, c.out});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << process.readAllStandardError().toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(toPipe).isSymLink());
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_TRUE(ReadAll(folder_.filePath(QStringLiteral("made.svg"))).contains("<svg"));
}

TEST_F(PictureTest, PrintProposesAPdfNamedAfterTheScriptInItsFolder) {
    struct Case {
        QString file, caption, other, expected;
    } cases[] = {
        {QStringLiteral("/work/lines/office-line.rys"),
         QStringLiteral("/work/lines/office-line.rys"), QStringLiteral("/home/u"),
         QStringLiteral("/work/lines/office-line.pdf")},
        {QStringLiteral("/work/my.lines/night.v2.ryp"), QString(), QStringLiteral("/home/u"),
         QStringLiteral("/work/my.lines/night.v2.pdf")},
        {QString(), QStringLiteral("Ryvane Script 2"), QStringLiteral("/home/u"),
         QStringLiteral("/home/u/Ryvane Script 2.pdf")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrintFileName(c.file, c.caption, c.other), c.expected) << c.file.toStdString();
    }

    // The dialog is given the name, and the document name is the script's name alone.
    MakeMain();
    Main().Documents().OpenScript(kExample);
    QString docName, output;
    prompter_.dialogs.push_back([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        if (print) {
            docName = print->printer()->docName();
            output = print->printer()->outputFileName();
        }
        return int(QDialog::Rejected);
    });
    Choose(QStringLiteral("mnuFile(4)"));
    EXPECT_EQ(docName, QStringLiteral("office-line"));
    EXPECT_EQ(output, QFileInfo(kExample).absolutePath() + QStringLiteral("/office-line.pdf"));
}

TEST_F(PictureTest, PrintAndPreviewTurnThePageTheWayTheDrawingFits) {
    MakeMain();
    Main().Documents().OpenScript(kExample);
    ScriptDocument& document = Active()->Document();
    auto orientationOf = [&](const QString& item) {
        std::optional<QPageLayout::Orientation> seen;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            QPrinter* printer = nullptr;
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog))
                printer = print->printer();
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog)) {
                printer = preview->printer();
                EXPECT_EQ(dialog.objectName(), QStringLiteral("dlgPrintPreview"));
            }
            EXPECT_NE(printer, nullptr);
            if (printer)
                seen = printer->pageLayout().orientation();
            return int(QDialog::Rejected);
        });
        Choose(item);
        return seen;
    };
    // A box moved far down makes the drawing tall; moved far to the right, wide.
    const std::int16_t first = document.ModuleOfBox(document.Boxes().front());
    document.MoveModules({{first, QPoint(40, 1400)}});
    EXPECT_EQ(orientationOf(QStringLiteral("mnuFile(4)")), QPageLayout::Portrait);
    EXPECT_EQ(orientationOf(QStringLiteral("mnuPrintPreview")), QPageLayout::Portrait);
    document.MoveModules({{first, QPoint(1500, 40)}});
    EXPECT_EQ(orientationOf(QStringLiteral("mnuFile(4)")), QPageLayout::Landscape);
    EXPECT_EQ(orientationOf(QStringLiteral("mnuPrintPreview")), QPageLayout::Landscape);
    EXPECT_EQ(Menu(QStringLiteral("mnuPrintPreview"))->text(), QStringLiteral("Print Pre&view…"));
}

TEST_F(PictureTest, PrintingSpreadsALargeDrawingOverPages) {
    MakeMain();
    Main().Documents().OpenScript(kExample);
    DocumentWindow& window = *Active();
    auto print = [&](const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath(name));
        printer.setPageSize(QPageSize(QPageSize::A4));
        return PrintCanvas(window, printer, QDate(2026, 3, 4));
    };
    EXPECT_EQ(print(QStringLiteral("small.pdf")), 1);
    EXPECT_EQ(PdfPages(ReadAll(folder_.filePath(QStringLiteral("small.pdf")))), 1);
    // A box far out at the canvas's bottom right: the drawing takes the whole canvas, too big
    // for one readable page.
    ScriptDocument& document = window.Document();
    const std::int16_t first = document.ModuleOfBox(document.Boxes().front());
    document.MoveModules({{first, QPoint(1800, 1850)}});
    const int pages = print(QStringLiteral("large.pdf"));
    EXPECT_GE(pages, 4);
    EXPECT_EQ(PdfPages(ReadAll(folder_.filePath(QStringLiteral("large.pdf")))), pages);
}

} // namespace
} // namespace ry::test
