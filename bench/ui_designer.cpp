// The designer with a large script: 1000 modules and 3000 connectors on a canvas of
// 8000 x 3100 pixels. Opening it until every box is on the canvas should take well under
// 300 ms; one repaint of a 1280 x 900 view, trigger labels on, under 8 ms, and one step of a
// drag of 250 selected boxes, with the connectors they affect routed around the boxes again and
// painted where they now run, under 16 ms, so that dragging boxes keeps up with a screen
// refreshing at 60 Hz. Taking
// back the delete of half its modules should take under 100 ms, and the overview's picture of the
// whole canvas should not hold up editing.

#include "script_generator.h"

#include "app/main_window.h"
#include "base/designer.h"
#include "base/prompter.h"
#include "base/recent_files.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_overview.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/module_dialogs.h"
#include "script/host.h"
#include "script/saver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace ry;

// Answers every question with its default; the benchmarks ask none.
class SilentPrompter : public Prompter {
public:
    MessageAnswer Message(QWidget*, const QString&, const QString&, MessageIcon,
                          MessageButtons) override {
        ++messages;
        return MessageAnswer::Cancel;
    }
    QString ChooseFile(QWidget*, const FileRequest&) override { return {}; }
    int Exec(QDialog&) override { return 0; }
    int messages = 0;
};

// A program folder whose RY.INI makes the canvas large enough for the generated grid, the
// script file, and a main window with the script open.
struct Fixture {
    QTemporaryDir folder;
    QString script;
    QString copy; // the same script under another name
    SilentPrompter prompter;
    std::unique_ptr<Designer> designer;
    std::unique_ptr<ModuleDialogTable> moduleDialogs;
    std::unique_ptr<MainWindow> main;

    Fixture() {
        QFile ini(folder.filePath(QStringLiteral("RY.INI")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[RyKem]\r\nDesignAreaWidth=8000\r\nDesignAreaHeight=3100\r\n");
        ini.close();

        auto tables = std::make_unique<ScriptTables>();
        const std::int16_t s = bench::GenerateScript(*tables, 1000);
        script = folder.filePath(QStringLiteral("large.rys"));
        Host host;
        ProtectedWriter writer;
        RysScriptSave(*tables, host, RecordBoxes(*tables), writer, script.toStdString(), s, false);
        copy = folder.filePath(QStringLiteral("large-copy.rys"));
        QFile::copy(script, copy);

        designer = std::make_unique<Designer>(prompter, folder.path());
        designer->ReadSettings();
        moduleDialogs = std::make_unique<ModuleDialogTable>(*designer);
        main = std::make_unique<MainWindow>(*designer);
        main->resize(1400, 1000);
        main->show();
        // The empty script of the start holds a module record; the large script needs them all.
        CloseActive();
    }

    DocumentWindow* Open(const QString& file) {
        main->Documents().OpenScript(file);
        return main->ActiveDocumentWindow();
    }
    DocumentWindow* Open() { return Open(script); }
    void CloseActive() {
        if (DocumentWindow* window = main->ActiveDocumentWindow())
            window->Discard();
        QCoreApplication::processEvents();
    }
};

// Made on first use, after the application; gone before it.
std::unique_ptr<Fixture> shared;
Fixture& Shared() {
    if (!shared)
        shared = std::make_unique<Fixture>();
    return *shared;
}

// From the open command to the last box on the canvas, with the events that follow it (the
// boxes' first layout and paint) processed. The file is read and the recent-file list written
// to the settings on the way, as a user's open does: two names taken in turn, so that each
// open moves its name to the front of the list.
void BM_OpenLargeScript(benchmark::State& state) {
    Fixture& f = Shared();
    bool second = false;
    for (auto _ : state) {
        DocumentWindow* window = f.Open(second ? f.copy : f.script);
        second = !second;
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!window || window->Document().Boxes().size() != 1000u)
            state.SkipWithError("the script did not open whole");
        f.CloseActive();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeScript)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A name new to the recent-file list: all nine entries are written to the settings.
void BM_AddRecentFile(benchmark::State& state) {
    Fixture& f = Shared();
    int n = 0;
    for (auto _ : state)
        f.designer->Recent().Add(QStringLiteral("/scripts/line%1.rys").arg(n++ % 10));
}
BENCHMARK(BM_AddRecentFile)->Unit(benchmark::kMillisecond);

// A view of 1280 x 900 pixels in the middle of the canvas.
CanvasView& ShowMiddle(DocumentWindow& window) {
    CanvasView& view = window.View();
    view.resize(1280 + view.verticalScrollBar()->sizeHint().width(),
                900 + view.horizontalScrollBar()->sizeHint().height());
    QCoreApplication::processEvents();
    view.ScrollTo({3000, 1000});
    return view;
}

// One repaint of a 1280 x 900 view in the middle of the canvas, as the window system asks for
// one: background, the connectors that reach into it with their trigger labels, and the boxes.
void BM_RepaintView(benchmark::State& state) {
    Fixture& f = Shared();
    DocumentWindow* window = f.Open();
    if (!f.designer->PathLabels())
        state.SkipWithError("path labels are off");
    CanvasView& view = ShowMiddle(*window);
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = view.viewport()->width();
    state.counters["height"] = view.viewport()->height();
    f.CloseActive();
}
BENCHMARK(BM_RepaintView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One mouse-move step of a drag of 250 selected boxes (every fourth module, all over the
// canvas) in the 1000-module script seen in a 1280 x 900 view: the boxes follow the pointer and
// the view is painted again with the connectors where the boxes now stand. Steps go back and
// forth by 10 pixels.
void BM_DragSelectedBoxes(benchmark::State& state) {
    Fixture& f = Shared();
    DocumentWindow* window = f.Open();
    ScriptDocument& document = window->Document();
    CanvasView& view = ShowMiddle(*window);
    document.DeselectAllBoxes();
    const std::vector<int> boxes = document.Boxes();
    for (size_t i = 0; i < boxes.size(); i += 4)
        document.SelectBox(boxes[i]);
    // Module 376 of the grid stands at (3200, 1080), in the view; grabbed by its title.
    QWidget* viewport = view.viewport();
    const QPoint grab = view.mapFromScene(QPointF(3220, 1092));
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    if (!window->Interaction().Dragging() || document.SelectedModules().size() != 250u)
        state.SkipWithError("the drag of 250 boxes did not start");
    QCoreApplication::processEvents();
    // The scene asks for the whole view to be painted again on each step (a connector may
    // run far from its boxes); the paint is made here as the window system would make it.
    QImage image(viewport->size(), QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, grab + QPoint(++step % 2 ? 10 : 0, 0), Qt::LeftButton);
        QCoreApplication::processEvents();
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    send(QEvent::MouseButtonRelease, grab, Qt::NoButton);
    document.History().clear();
    f.CloseActive();
}
BENCHMARK(BM_DragSelectedBoxes)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The whole canvas painted into one image.
void BM_PaintWholeCanvas(benchmark::State& state) {
    Fixture& f = Shared();
    DocumentWindow* window = f.Open();
    CanvasScene& scene = window->Scene();
    const QRectF area = scene.sceneRect();
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        scene.render(&painter, QRectF(QPointF(0, 0), area.size()), area);
    }
    f.CloseActive();
}
BENCHMARK(BM_PaintWholeCanvas)->Unit(benchmark::kMillisecond);

// Undo of a delete of 500 selected modules (every other one, so that the chain is cut at 500
// places) in the 1000-module script: the records, boxes and chain put back and every box on
// the canvas again, with the events that follow processed. The redo between undos is not timed.
void BM_UndoDeleteOfHalfTheModules(benchmark::State& state) {
    Fixture& f = Shared();
    DocumentWindow* window = f.Open();
    ScriptDocument& document = window->Document();
    const std::vector<int> boxes = document.Boxes();
    document.DeselectAllBoxes();
    for (size_t i = 0; i < boxes.size(); i += 2)
        document.SelectBox(boxes[i]);
    if (!document.DeleteSelectedModules() || document.Boxes().size() != 500u)
        state.SkipWithError("the delete did not take place");
    QCoreApplication::processEvents();
    for (auto _ : state) {
        document.Undo();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (document.Boxes().size() != 1000u)
            state.SkipWithError("the undo did not bring every module back");
        document.Redo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    document.History().clear();
    f.CloseActive();
}
BENCHMARK(BM_UndoDeleteOfHalfTheModules)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The overview's picture of the whole 8000 x 3100 canvas at the dock's usual size, made again
// after the canvas changed.
void BM_OverviewPicture(benchmark::State& state) {
    Fixture& f = Shared();
    DocumentWindow* window = f.Open();
    CanvasOverview overview;
    overview.resize(overview.sizeHint());
    overview.SetView(&window->View());
    for (auto _ : state)
        overview.RenderNow();
    overview.SetView(nullptr);
    f.CloseActive();
}
BENCHMARK(BM_OverviewPicture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The recent-file list goes to settings of a home folder of the benchmark's own.
    static QTemporaryDir home;
    ::setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
