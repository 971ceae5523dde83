// The canvas of a document: its size, the boxes' heights, frames and icons, the module limits,
// and connectors following the path texts.

#include "designer_fixture.h"

#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/routes.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QtMath>

namespace ry::test {
namespace {

using Canvas = DesignerTest;

TEST_F(Canvas, TheCanvasSizeComesFromTheSettingsAndIsAtLeast2000) {
    struct Case {
        const char* ini;
        QRectF scene;
    };
    const Case cases[] = {
        {"", {0, 0, 2000, 2000}},
        {"[RyKem]\r\nDesignAreaWidth=4500\r\nDesignAreaHeight=3000\r\n", {0, 0, 4500, 3000}},
        {"[RyKem]\r\nDesignAreaWidth=1500\r\nDesignAreaHeight=2100\r\n", {0, 0, 2000, 2100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteFile(QStringLiteral("RY.INI"), c.ini);
        MakeMain();
        EXPECT_EQ(Active()->Scene().sceneRect(), c.scene);
        TearDown();
    }
}

TEST_F(Canvas, ABoxIsLongFromTheMidpointOfTheTwoHeightsUp) {
    MakeMain();
    struct Case {
        int dispSize;
        int height;
        int stored; // DispSize after the box was filled
    };
    const Case cases[] = {
        {69, kLongBoxHeight, 69},
        {47, kLongBoxHeight, 47},
        {46, kShortBoxHeight, 46},
        {24, kShortBoxHeight, 24},
        {1, kShortBoxHeight, 1},
        {0, kLongBoxHeight, kLongBoxHeight}, // the default height first
        {-5, kLongBoxHeight, kLongBoxHeight},
    };
    ScriptDocument& doc = Doc();
    const std::int16_t module = doc.ModuleOfBox(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dispSize);
        doc.Module(module).DispSize = static_cast<std::int16_t>(c.dispSize);
        doc.ShowModuleInBox(1, module);
        EXPECT_EQ(doc.BoxHeight(1), c.height);
        EXPECT_EQ(Active()->Scene().Item(1)->boundingRect(), QRectF(0, 0, kBoxWidth, c.height));
        EXPECT_EQ(doc.Module(module).DispSize, c.stored);
    }
}

TEST_F(Canvas, SelectedBoxesHaveAWideFrameAndALineUnderTheTitle) {
    MakeMain();
    ScriptDocument& doc = Doc();
    doc.MoveModules({{doc.ModuleOfBox(1), {100, 100}}});
    const QRect area(100, 100, kBoxWidth, kLongBoxHeight);
    const QRgb black = qRgb(0, 0, 0);
    auto isBlack = [&](const QImage& image, int x, int y) { return image.pixel(x, y) == black; };

    doc.DeselectAllBoxes();
    const QImage plain = RenderCanvas(*Active(), area);
    doc.SelectOnlyBox(1);
    const QImage selected = RenderCanvas(*Active(), area);

    // Left edge, right edge, bottom edge, and the row under the title (y 25 in the box), where
    // no text is drawn.
    const int x = kBoxWidth - 3;
    EXPECT_TRUE(isBlack(plain, 0, 40));
    EXPECT_FALSE(isBlack(plain, 1, 40));
    EXPECT_TRUE(isBlack(selected, 1, 40));
    EXPECT_FALSE(isBlack(selected, 2, 40));
    EXPECT_TRUE(isBlack(plain, kBoxWidth - 1, 40));
    EXPECT_FALSE(isBlack(plain, kBoxWidth - 2, 40));
    EXPECT_TRUE(isBlack(selected, kBoxWidth - 2, 40));
    EXPECT_TRUE(isBlack(plain, x, kLongBoxHeight - 1));
    EXPECT_FALSE(isBlack(plain, x, kLongBoxHeight - 2));
    EXPECT_TRUE(isBlack(selected, x, kLongBoxHeight - 2));
    EXPECT_FALSE(isBlack(plain, x, 25));
    for (int y = 23; y <= 26; ++y)
        EXPECT_TRUE(isBlack(selected, x, y)) << y;
    EXPECT_FALSE(isBlack(selected, x, 28));
}

TEST_F(Canvas, EveryEdgeOfABoxsFrameIsDrawnAtReducedZooms) {
    MakeMain();
    ScriptDocument& doc = Doc();
    const std::int16_t module = doc.ModuleOfBox(1);
    doc.Module(module).Txt.clear(); // only the frame is black along the edges
    const QRgb black = qRgb(0, 0, 0);
    for (const double scale : {0.5, 0.75})
        for (const bool selected : {false, true})
            for (int dx = 0; dx < 4; ++dx)
                for (int dy = 0; dy < 4; ++dy) {
                    const QPoint at(101 + dx, 103 + dy);
                    SCOPED_TRACE(testing::Message() << scale << " at " << at.x() << "," << at.y()
                                                    << (selected ? " selected" : ""));
                    doc.MoveModules({{module, at}});
                    if (selected)
                        doc.SelectOnlyBox(1);
                    else
                        doc.DeselectAllBoxes();
                    // The canvas from (90, 90), scaled as the view draws it at that zoom.
                    const QRect area(90, 90, 200, 120);
                    QImage image(area.size() * scale, QImage::Format_RGB32);
                    image.fill(Qt::magenta);
                    {
                        QPainter painter(&image);
                        Active()->Scene().render(&painter, QRectF(image.rect()), area);
                    }
                    // Each edge, in device pixels, and a black pixel within one of it at every
                    // step along its middle half.
                    const double left = (at.x() - area.x()) * scale;
                    const double top = (at.y() - area.y()) * scale;
                    const double right = left + kBoxWidth * scale;
                    const double bottom = top + kLongBoxHeight * scale;
                    auto blackNear = [&](double x, double y, bool across) {
                        for (int d = -2; d <= 1; ++d) {
                            const int px = across ? qFloor(x) + d : qFloor(x);
                            const int py = across ? qFloor(y) : qFloor(y) + d;
                            if (image.valid(px, py) && image.pixel(px, py) == black)
                                return true;
                        }
                        return false;
                    };
                    bool leftWhole = true, rightWhole = true, topWhole = true;
                    bool bottomWhole = true;
                    for (double t = 0.25; t <= 0.75; t += 0.05) {
                        const double x = left + (right - left) * t;
                        const double y = top + (bottom - top) * t;
                        leftWhole = leftWhole && blackNear(left + 0.5, y, true);
                        rightWhole = rightWhole && blackNear(right, y, true);
                        topWhole = topWhole && blackNear(x, top + 0.5, false);
                        bottomWhole = bottomWhole && blackNear(x, bottom, false);
                    }
                    EXPECT_TRUE(leftWhole);
                    EXPECT_TRUE(rightWhole);
                    EXPECT_TRUE(topWhole);
                    EXPECT_TRUE(bottomWhole);
                }
}

TEST_F(Canvas, EveryTypeHasAnIconOfItsOwn) {
    QSet<QByteArray> seen;
    for (int i = 0; i < 16; ++i) {
        const QImage icon = TypeIconPixmap(i).toImage();
        ASSERT_EQ(icon.size(), BoxItem::IconRect().size()) << i;
        int painted = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                painted += qAlpha(icon.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 40) << "icon " << i << " is nearly empty";
        seen.insert(
            QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 16);
}

TEST_F(Canvas, AScriptHoldsAtMost1000Boxes) {
    MakeMain();
    ScriptDocument& doc = Doc();
    D().SetCurrentTool(QStringLiteral("Play"));
    for (int i = 1; i < 1000; ++i)
        ASSERT_GE(doc.CreateModuleBox(10 * (i % 150), 80 * (i / 150), -1), 1) << i;
    ASSERT_EQ(doc.Boxes().size(), 1000u);
    ASSERT_TRUE(prompter_.messages.empty());

    EXPECT_EQ(doc.CreateModuleBox(500, 500, -1), -1);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("This version has a limit of 1000 modules per script"));
    EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(doc.Boxes().size(), 1000u);
    EXPECT_EQ(doc.Record().ModuleCount, 1000);
}

TEST_F(Canvas, NoModuleIsMadeWhenTheModuleTableIsFull) {
    MakeMain();
    // Every other record is taken by other scripts.
    while (D().Tables().MemStructRym_Get() >= 1) {
    }
    D().SetCurrentTool(QStringLiteral("Play"));
    EXPECT_EQ(Doc().CreateModuleBox(500, 500, -1), -1);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("You have exceeded a limit of 1000 modules"));
    EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(Doc().Boxes().size(), 1u);
    EXPECT_EQ(Doc().Record().ModuleCount, 1);
}

TEST_F(Canvas, ConnectorsFollowThePathTextsAndTheBoxes) {
    MakeMain();
    // The classic shapes, whose every pixel is known from the two boxes alone.
    D().SetRouteStyle(RouteStyle::Classic);
    ScriptDocument& doc = Doc();
    const std::int16_t first = doc.ModuleOfBox(1);
    doc.MoveModules({{first, {40, 40}}});
    D().SetCurrentTool(QStringLiteral("Hangup the Call"));
    const int second = doc.PlaceModule({400, 60});
    const std::int16_t hangup = doc.ModuleOfBox(second);
    const QString title = QString::fromStdString(doc.Module(hangup).Title);
    const QRect area(0, 0, 700, 300);
    auto arrowPixel = [&](const Rect& from, const Rect& to) {
        const ConnectorPath route = RouteConnector(from, to);
        const auto& c = route.Arrow().corners;
        return QPoint((c[0].x + c[1].x + c[2].x) / 3, (c[0].y + c[1].y + c[2].y) / 3);
    };
    const QRgb grey = qRgb(221, 221, 221);
    const Rect playBox{40, 40, kBoxWidth, kLongBoxHeight};
    const QPoint side = arrowPixel(playBox, {400, 60, kBoxWidth, kLongBoxHeight});
    EXPECT_NE(RenderCanvas(*Active(), area).pixel(side), grey);

    // A path line names the box: the connector appears.
    doc.AddPathLine(first, QStringLiteral("ON {1} goto [") + title + QStringLiteral("]"));
    EXPECT_EQ(RenderCanvas(*Active(), area).pixel(side), grey);

    // The box moves: the connector follows it.
    doc.MoveModules({{hangup, {420, 200}}});
    const QImage moved = RenderCanvas(*Active(), area);
    EXPECT_NE(moved.pixel(side), grey);
    EXPECT_EQ(moved.pixel(arrowPixel(playBox, {420, 200, kBoxWidth, kLongBoxHeight})), grey);

    // The title in capitals names no module.
    doc.Module(first).PathText = "on {1} goto [" + title.toUpper().toStdString() + "]\r\n";
    doc.MoveModules({{hangup, {400, 60}}});
    EXPECT_NE(RenderCanvas(*Active(), area).pixel(side), grey);
}

} // namespace
} // namespace ry::test
