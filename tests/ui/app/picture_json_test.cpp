// The drawing's geometry as JSON (rykem --export-picture X.json): what other programs and the
// reading tests take from a picture.

#include "designer_fixture.h"

#include "canvas/box_geometry.h"
#include "canvas/canvas_picture.h"
#include "canvas/canvas_scene.h"
#include "canvas/drawing_geometry.h"
#include "canvas/picture_geometry.h"

#include <QProcess>

#include <algorithm>
#include <optional>
#include <string>

namespace ry::test {
namespace {

// A menu with paths to a module, to itself, to a title no module bears, to a voicemail box and
// one without a trigger; titles and triggers in Windows-1252.
const QByteArray kMenuScript = "Version=5.0\r\nStartModule=Caf\xE9 Menu\r\n\r\n"
                               "[Caf\xE9 Menu]\r\nType=Play\r\nDispSize=69\r\nTxt=Hi\r\n"
                               "on {1} goto [Good\xB7"
                               "bye]\r\non {2} goto [Good\xB7"
                               "bye]\r\n"
                               "on {1} goto [Good\xB7"
                               "bye]\r\n"
                               "on {3} goto [Nowhere]\r\non {9} goto [Voicemail Box 200]\r\n"
                               "on {timeout 5} goto [Caf\xE9 Menu]\r\n\r\nPosition=40,40\r\n\r\n"
                               "[Good\xB7"
                               "bye]\r\nType=Hangup the Call\r\nDispSize=24\r\nTxt=\r\n"
                               "on {} goto [Caf\xE9 Menu]\r\n\r\nPosition=400,300\r\n\r\n";

bool OnFrame(const Point& p, const Rect& r) {
    const bool insideX = p.x >= r.Left && p.x <= r.Left + r.Width;
    const bool insideY = p.y >= r.Top && p.y <= r.Top + r.Height;
    return insideX && insideY &&
           (p.x == r.Left || p.x == r.Left + r.Width || p.y == r.Top || p.y == r.Top + r.Height);
}

std::optional<PictureGeometry> RunExport(const QString& script, const QString& out,
                                         const QString& home, QString* error) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("RYVANE_HOME"), home);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(RYKEM_BINARY), {QStringLiteral("--export-picture"), script, out});
    if (!process.waitForFinished(60000))
        return std::nullopt;
    *error = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitCode() != 0)
        return std::nullopt;
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray json = file.readAll();
    std::string why;
    std::optional<PictureGeometry> g = ReadPictureJson(json.toStdString(), &why);
    if (!g)
        *error += QString::fromStdString(why);
    return g;
}

using PictureJsonTest = DesignerTest;

TEST_F(PictureJsonTest, TheExportCommandWritesEveryBoxAndPathAsTheCanvasDrawsThem) {
    const QString script = WriteFile(QStringLiteral("menu.rys"), kMenuScript);
    const QString out = ProgramFolder() + QStringLiteral("/menu.json");
    QString error;
    const std::optional<PictureGeometry> g = RunExport(script, out, ProgramFolder(), &error);
    ASSERT_TRUE(g) << error.toStdString();
    // UTF-8 in the file, whatever the script's code page.
    EXPECT_TRUE(Slurp(out).contains("\"Caf\xC3\xA9 Menu\"")) << Slurp(out).toStdString();

    ASSERT_EQ(g->modules.size(), 2u);
    EXPECT_EQ(g->modules[0],
              (PictureModule{"Caf\xE9 Menu", "Play", {40, 40, kBoxWidth, kLongBoxHeight}, true}));
    EXPECT_EQ(g->modules[1], (PictureModule{"Good\xB7"
                                            "bye",
                                            "Hangup the Call",
                                            {400, 300, kBoxWidth, kShortBoxHeight},
                                            false}));
    const Rect menu = g->modules[0].rect, bye = g->modules[1].rect;

    struct Case {
        const char* to;
        PicturePathKind kind;
        std::vector<std::string> triggers;
        const char* label; // null: none
        bool tag;
    } cases[] = {
        {"Good\xB7"
         "bye",
         PicturePathKind::Module,
         {"1", "2"},
         "1, 2",
         false},
        {"Nowhere", PicturePathKind::Missing, {"3"}, "3", true},
        {"Voicemail Box 200", PicturePathKind::Tag, {"9"}, "9", true},
        {"Caf\xE9 Menu", PicturePathKind::Module, {"timeout 5"}, "timeout 5", false},
        {"Caf\xE9 Menu", PicturePathKind::Module, {}, nullptr, false}, // from Goodbye
    };
    ASSERT_EQ(g->paths.size(), std::size(cases)) << "one entry per source and destination";
    EXPECT_EQ(g->leftOut, 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const PicturePath& p = g->paths[i];
        SCOPED_TRACE(c.to);
        EXPECT_EQ(p.to, c.to);
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(p.triggers, c.triggers);
        EXPECT_EQ(p.label.has_value(), c.label != nullptr);
        if (p.label && c.label)
            EXPECT_EQ(p.label->text, c.label);
        EXPECT_EQ(p.tag.has_value(), c.tag);
        if (p.tag)
            EXPECT_EQ(p.tag->text, c.to);
        ASSERT_GE(p.points.size(), 2u);
        const Rect from = i + 1 < std::size(cases) ? menu : bye;
        EXPECT_EQ(p.from, i + 1 < std::size(cases) ? "Caf\xE9 Menu"
                                                   : "Good\xB7"
                                                     "bye");
        EXPECT_TRUE(OnFrame(p.points.front(), from)) << "starts on the source's frame";
        if (c.kind == PicturePathKind::Module) {
            const Rect to = p.to == "Caf\xE9 Menu" ? menu : bye;
            EXPECT_TRUE(OnFrame(p.points.back(), to)) << "the arrow's tip on the target's frame";
        } else {
            EXPECT_EQ(p.points.back().x, p.tag->rect.Left) << "the line ends at its tag";
        }
    }
}

// The picture's geometry is the layout the canvas paints: every label and tag it leaves out is
// counted, and the export command writes what the open document shows.
TEST_F(PictureJsonTest, TheGeometryIsTheCanvasLayoutAndCountsWhatIsLeftOut) {
    // Boxes packed tight, each with stubs and paths to every other: labels run out of room.
    QByteArray bytes = "Version=5.0\r\n\r\n";
    for (int m = 0; m < 6; ++m) {
        bytes += "[M" + QByteArray::number(m) + "]\r\nType=Play\r\nDispSize=69\r\nTxt=\r\n";
        for (int k = 0; k < 6; ++k)
            bytes += "on {key " + QByteArray::number(k) + "} goto [M" +
                     QByteArray::number((m + k) % 6) + "]\r\n";
        for (int k = 0; k < 3; ++k)
            bytes +=
                "on {" + QByteArray::number(k) + "} goto [Lost " + QByteArray::number(k) + "]\r\n";
        bytes += "\r\nPosition=" + QByteArray::number(20 + 160 * (m % 3)) + "," +
                 QByteArray::number(20 + 75 * (m / 3)) + "\r\n\r\n";
    }
    const QString script = WriteFile(QStringLiteral("tight.rys"), bytes);
    MakeMain();
    DocumentWindow* window = OpenInMain(script);
    ASSERT_NE(window, nullptr);
    const PictureGeometry shown = DrawingGeometry(window->Scene());
    EXPECT_EQ(shown.leftOut, window->Scene().Connectors().LeftOut());
    int missing = 0;
    for (const PicturePath& p : shown.paths)
        missing +=
            (!p.triggers.empty() && !p.label) + (p.kind != PicturePathKind::Module && !p.tag);
    EXPECT_EQ(missing, shown.leftOut);
    EXPECT_GT(shown.leftOut, 0) << "the case of the test";
    EXPECT_EQ(shown.paths.size(), 6u * 6u + 6u * 3u);

    QString error;
    const std::optional<PictureGeometry> written =
        RunExport(script, ProgramFolder() + QStringLiteral("/tight.json"), ProgramFolder(), &error);
    ASSERT_TRUE(written) << error.toStdString();
    EXPECT_EQ(*written, shown);
}

} // namespace
} // namespace ry::test
