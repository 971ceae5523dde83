// The canvas at other zooms than 100%: the controls that set the zoom, editing with the mouse
// in canvas pixels whatever the zoom, connectors drawn at every zoom, and the overview dock.

#include "ui/canvas/editing_fixture.h"

#include "canvas/box_editor.h"
#include "canvas/canvas_overview.h"

#include <QComboBox>
#include <QDockWidget>
#include <QImage>
#include <QLineEdit>
#include <QWheelEvent>

#include <functional>

namespace ry::test {
namespace {

class Zoom : public EditingTest {
protected:
    QComboBox* ZoomBox() { return main_->findChild<QComboBox*>(QStringLiteral("cmbZoom")); }
    CanvasOverview* Overview() {
        return main_->findChild<CanvasOverview*>(QStringLiteral("picOverview"));
    }

    // One notch (or part of one) of the wheel at a viewport point, with `modifiers` held.
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWheelEvent event(QPointF(at), QPointF(Viewport()->mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Viewport(), &event);
    }

    // The view zoomed with `canvas` at the top-left of what it shows.
    void ZoomAt(int percent, QPoint canvas) {
        View().SetZoom(percent);
        View().ScrollTo(canvas);
        QCoreApplication::processEvents();
    }
};

TEST_F(Zoom, TheMenuTheWheelAndTheZoomBoxSetTheActiveViewsZoom) {
    EXPECT_EQ(Menu(QStringLiteral("mnuZoom(0)"))->shortcuts().value(0),
              QKeySequence(Qt::CTRL | Qt::Key_Plus));
    EXPECT_EQ(Menu(QStringLiteral("mnuZoom(1)"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_Minus));
    EXPECT_EQ(Menu(QStringLiteral("mnuZoom(2)"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    QComboBox* box = ZoomBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("100%"));

    const QPoint middle = Viewport()->rect().center();
    struct Step {
        const char* name;
        std::function<void()> act;
        int zoom;
    };
    const Step steps[] = {
        {"zoom in", [&] { Menu(QStringLiteral("mnuZoom(0)"))->trigger(); }, 125},
        {"zoom in again", [&] { Menu(QStringLiteral("mnuZoom(0)"))->trigger(); }, 150},
        {"zoom out", [&] { Menu(QStringLiteral("mnuZoom(1)"))->trigger(); }, 125},
        {"actual size", [&] { Menu(QStringLiteral("mnuZoom(2)"))->trigger(); }, 100},
        {"a wheel notch up with Ctrl", [&] { Wheel(middle, 120); }, 125},
        {"two half notches down add up to one", [&] { Wheel(middle, -60), Wheel(middle, -60); },
         100},
        {"the wheel without Ctrl scrolls", [&] { Wheel(middle, -120, Qt::NoModifier); }, 100},
        {"typed into the box and Enter",
         [&] {
             box->lineEdit()->selectAll();
             QTest::keyClicks(box->lineEdit(), QStringLiteral("90"));
             QTest::keyClick(box->lineEdit(), Qt::Key_Return);
         },
         90},
        {"a percentage typed", [&] { box->textActivated(QStringLiteral(" 80 %")); }, 80},
        {"a number typed", [&] { box->textActivated(QStringLiteral("200")); }, 200},
        {"not a number", [&] { box->textActivated(QStringLiteral("big")); }, 200},
        {"too large is the largest", [&] { box->textActivated(QStringLiteral("1000%")); }, 400},
        {"no step above the largest", [&] { Menu(QStringLiteral("mnuZoom(0)"))->trigger(); }, 400},
        {"too small is the smallest", [&] { box->textActivated(QStringLiteral("1")); }, 25},
        {"no step below the smallest", [&] { Menu(QStringLiteral("mnuZoom(1)"))->trigger(); }, 25},
        {"between steps, out goes to the step below",
         [&] {
             View().SetZoom(90);
             Menu(QStringLiteral("mnuZoom(1)"))->trigger();
         },
         75},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(View().Zoom(), step.zoom);
        EXPECT_DOUBLE_EQ(View().transform().m11(), step.zoom / 100.0);
        EXPECT_EQ(box->currentText(), QStringLiteral("%1%").arg(step.zoom));
    }

    // Each document has its own zoom; the box shows the active one's.
    DocumentWindow& first = Window();
    Menu(QStringLiteral("mnuFile(0)"))->trigger();
    ASSERT_NE(&Window(), &first);
    EXPECT_EQ(View().Zoom(), 100);
    EXPECT_EQ(box->currentText(), QStringLiteral("100%"));
    main_->BringToFront(&first);
    EXPECT_EQ(box->currentText(), QStringLiteral("75%"));
}

TEST_F(Zoom, TheWheelKeepsTheCanvasPointUnderThePointer) {
    View().ScrollTo({400, 300});
    const QPoint at(150, 100);
    const QPointF before = View().mapToScene(at);
    Wheel(at, 240);
    EXPECT_EQ(View().Zoom(), 150);
    const QPointF after = View().mapToScene(at);
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);
}

// Clicks, drags and the rubber band work in canvas pixels whatever the view's zoom, and what
// they store stays in canvas pixels.
TEST_F(Zoom, EditingWithTheMouseLandsOnTheSameCanvasPixelsAtEveryZoom) {
    for (int percent : {50, 67, 150, 200, 300}) {
        SCOPED_TRACE(percent);
        Start("");
        const std::vector<int> boxes = ThreeBoxes({200, 200}, {420, 200}, {200, 330});
        ZoomAt(percent, {150, 150});

        // The canvas pixel under the screen pixel nearest a canvas point: the point itself
        // when zoomed in; zoomed out, a screen pixel covers several canvas pixels.
        auto landing = [&](QPoint canvas) {
            const QPoint at = View().mapToScene(ToViewport(canvas)).toPoint();
            if (percent >= 100)
                EXPECT_EQ(at, canvas);
            else
                EXPECT_LE((at - canvas).manhattanLength(), 2 * 100 / percent);
            return at;
        };

        // A module placed with the tool has its top-left at the canvas point clicked.
        designer_->SetCurrentTool(QStringLiteral("Play"));
        Click({437, 341});
        designer_->SetCurrentTool(QLatin1String(kArrowTool));
        const int placed = Doc().CurrentBox();
        ASSERT_TRUE(Doc().HasBox(placed));
        EXPECT_EQ(PositionOf(placed), landing({437, 341}));

        // A drag moves the box by the canvas distance the pointer went.
        const QPoint from = FrameOf(boxes[1]), to = from + QPoint(23, 17);
        Drag(from, to);
        const QPoint moved = QPoint(420, 200) + landing(to) - landing(from);
        // Zoomed out by an uneven factor, grabbing and dropping each round to a canvas pixel.
        EXPECT_LE((PositionOf(boxes[1]) - moved).manhattanLength(), percent >= 100 ? 0 : 2);

        // The rubber band selects by the boxes' canvas corners.
        Drag({190, 190}, {380, 360});
        EXPECT_EQ(SelectedBoxes(), (std::vector<int>{boxes[0], boxes[2]}));

        // A press on a title, at the title's place on the screen, edits that title; the field
        // lies over the title as the view shows it.
        Doc().DeselectAllBoxes();
        Click(TitleOfBox(boxes[2]));
        ASSERT_EQ(Canvas().Editor().Editing(), BoxEditor::Field::Title);
        ASSERT_NE(Canvas().Editor().Widget(), nullptr);
        const QRect field = Canvas().Editor().Widget()->geometry();
        EXPECT_TRUE(field.contains(ToViewport(TitleOfBox(boxes[2]))));
        Canvas().Editor().Commit();
    }
}

// A connector of one canvas pixel is drawn at every zoom, even where it is less than a screen
// pixel wide.
TEST_F(Zoom, ConnectorsAreDrawnAtEveryZoom) {
    const std::vector<int> boxes = ThreeBoxes({100, 100}, {600, 100}, {100, 400});
    ModuleIn(boxes[0]).PathText = "on {1} goto [" + ModuleIn(boxes[1]).Title + "]\r\n";
    emit Doc().connectorsChanged();
    // Between the two boxes side by side the connector is a horizontal line: some pixel of
    // the column half way between them is dark.
    const int column = (100 + 155 + 600) / 2;
    for (int percent : {25, 33, 50, 100, 200}) {
        SCOPED_TRACE(percent);
        ZoomAt(percent, {column - 100, 0});
        QImage image(Viewport()->size(), QImage::Format_RGB32);
        Viewport()->render(&image);
        const int x = ToViewport({column, 0}).x();
        ASSERT_GE(x, 0);
        ASSERT_LT(x, image.width());
        const int top = std::max(0, ToViewport({0, 90}).y());
        const int bottom = std::min(image.height() - 1, ToViewport({0, 100 + 80}).y());
        int darkest = 255;
        for (int y = top; y <= bottom; ++y)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        EXPECT_LT(darkest, 128);
    }
}

TEST_F(Zoom, TheOverviewShowsTheActiveCanvasAndScrollsIt) {
    auto* dock = main_->findChild<QDockWidget*>(QStringLiteral("Overview"));
    ASSERT_NE(dock, nullptr);
    CanvasOverview* overview = Overview();
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->View(), &View());
    overview->resize(240, 160);
    QCoreApplication::processEvents();

    // The mark is the visible area in small, and shrinks as the view zooms in.
    auto expectMark = [&] {
        const QRectF area = View().VisibleArea();
        const qreal scale = overview->Scale();
        const QRectF mark = overview->Mark();
        EXPECT_NEAR(mark.left(), area.left() * scale, 0.5);
        EXPECT_NEAR(mark.top(), area.top() * scale, 0.5);
        EXPECT_NEAR(mark.width(), area.width() * scale, 0.5);
        EXPECT_NEAR(mark.height(), area.height() * scale, 0.5);
    };
    expectMark();
    const qreal wide = overview->Mark().width();
    View().SetZoom(200);
    expectMark();
    EXPECT_NEAR(overview->Mark().width(), wide / 2, 1.0);

    // Dragging the mark scrolls the view by the canvas distance the mark went.
    View().ScrollTo({300, 200});
    const QRectF area = View().VisibleArea();
    const QPoint grab = overview->Mark().center().toPoint();
    QTest::mousePress(overview, Qt::LeftButton, {}, grab);
    QTest::mouseMove(overview, grab + QPoint(12, 6));
    QTest::mouseRelease(overview, Qt::LeftButton, {}, grab + QPoint(12, 6));
    const QPointF moved = View().VisibleArea().topLeft() - area.topLeft();
    EXPECT_NEAR(moved.x(), 12 / overview->Scale(), 2 / overview->Scale() + 1);
    EXPECT_NEAR(moved.y(), 6 / overview->Scale(), 2 / overview->Scale() + 1);
    expectMark();

    // A press beside the mark puts the middle of the view there.
    const QPoint beside(overview->width() - 10, overview->height() - 10);
    ASSERT_FALSE(overview->Mark().contains(beside));
    QTest::mouseClick(overview, Qt::LeftButton, {}, beside);
    const QPointF target = overview->ToCanvas(beside);
    const QRectF now = View().VisibleArea();
    // At the canvas's far corner the view stops at the edge instead.
    EXPECT_TRUE(now.contains(target) || now.right() >= View().sceneRect().right() - 1 ||
                now.bottom() >= View().sceneRect().bottom() - 1);

    // It follows the active document, and shows nothing without one.
    DocumentWindow& first = Window();
    Menu(QStringLiteral("mnuFile(0)"))->trigger();
    EXPECT_EQ(overview->View(), &View());
    EXPECT_NE(overview->View(), &first.View());
    for (int slot = 1; slot <= designer_->DocumentSlotCount(); ++slot)
        if (DocumentWindow* window = designer_->Document(slot))
            window->Discard();
    QCoreApplication::processEvents();
    EXPECT_EQ(overview->View(), nullptr);
    QImage image(overview->size(), QImage::Format_RGB32);
    overview->render(&image); // nothing to show is no fault
}

} // namespace
} // namespace ry::test
