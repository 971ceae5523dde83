// Drawings read as a reader reads them, from the picture export's JSON: on the example, a menu with
// its transfers stacked beside it, nine menus of eight transfers each and 150 modules with random
// paths, as the canvas lays them out by default, no two paths to different targets run along one
// line, every label lies nearer its own line than any other, no label or tag covers a line or a
// box, no line runs through a box, and no problem tag is left out; labels at the paths' sources are
// left out nowhere on these drawings.

#include "editing_fixture.h"
#include "reading_rules.h"

#include "canvas/box_geometry.h"
#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"
#include "canvas/drawing_geometry.h"
#include "canvas/picture_geometry.h"

#include <random>
#include <unordered_map>

namespace ry::test {
namespace {

// A script's text: transfers at given places with given paths.
class ScriptText {
public:
    void Add(const std::string& title, int x, int y, const std::string& paths) {
        if (text_.empty())
            text_ = "Version=5.0\r\nDefaultModuleDisplayHeight=long\r\nStartModule=" + title +
                    "\r\n\r\n";
        text_ += "[" + title + "]\r\nType=Transfer Call\r\nDispSize=69\r\n" + paths +
                 "\r\nPosition=" + std::to_string(x) + "," + std::to_string(y) + "\r\n\r\n";
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

class ReadingRules : public EditingTest {
protected:
    void Open(const QString& path) {
        main_->Documents().OpenScript(path);
        ASSERT_NE(main_->ActiveDocumentWindow(), nullptr);
    }
    void Open(const ScriptText& script) {
        const QString path = folder_->filePath(QStringLiteral("drawing.rys"));
        WriteFile(path, script.Text());
        Open(path);
    }
    // The drawing of the active document as the picture export writes it in JSON, read back.
    Picture Drawn(int* leftOut) {
        const std::string json = PictureJson(DrawingGeometry(Window().Scene()));
        std::string error;
        const std::optional<PictureGeometry> geometry = ReadPictureJson(json, &error);
        EXPECT_TRUE(geometry.has_value()) << error;
        if (!geometry)
            return {};
        *leftOut = geometry->leftOut;
        return PictureOf(*geometry);
    }
    // Checks the drawing; the faults found, described, go to the test's output.
    ReadingFaults Check() {
        int leftOut = 0;
        const ReadingFaults f = CheckReadingRules(Drawn(&leftOut));
        for (const std::string& d : f.details)
            ADD_FAILURE() << d;
        EXPECT_EQ(f.sharedRuns, 0);
        EXPECT_EQ(f.labelsNearerAnother, 0);
        EXPECT_EQ(f.labelsOverLines, 0);
        EXPECT_EQ(f.labelsOverBoxes, 0);
        EXPECT_EQ(f.linesThroughBoxes, 0);
        EXPECT_EQ(f.problemTagsLeftOut, 0);
        EXPECT_EQ(leftOut, f.labelsLeftOut);
        EXPECT_EQ(Window().Scene().Connectors().LeftOut(), f.labelsLeftOut);
        return f;
    }
};

TEST_F(ReadingRules, TheExample) {
    Open(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    const ReadingFaults f = Check();
    EXPECT_GT(f.labels, 10);
    EXPECT_EQ(f.labelsLeftOut, 0);
}

TEST_F(ReadingRules, TransfersStackedBesideTheirMenu) {
    ScriptText s;
    s.Add("Main Menu", 456, 4,
          "on {1} goto [Sales]\r\non {2} goto [Support]\r\non {0} goto [Operator]\r\n"
          "on {9} goto [Voicemail Box 200]\r\non {8} goto [Nowhere]\r\n");
    s.Add("Sales", 726, 4, "");
    s.Add("Support", 726, 144, "");
    s.Add("Operator", 726, 284, "");
    Open(s);
    const ReadingFaults f = Check();
    EXPECT_EQ(f.labels, 5);
    EXPECT_EQ(f.labelsLeftOut, 0);
}

TEST_F(ReadingRules, NineMenusOfEightTransfers) {
    // Each menu beside its column of transfers; every transfer fails to the next menu and
    // succeeds to Goodbye, under the columns; every menu also has a path to a voicemail box and
    // one to a module that does not exist.
    Start("[RyKem]\r\nDesignAreaWidth=4800\r\n");
    ScriptText s;
    s.Add("Welcome", 4, 4, "on {done} goto [Menu 0]\r\n");
    for (int m = 0; m < 9; ++m) {
        std::string paths;
        for (int t = 0; t < 8; ++t)
            paths += "on {" + std::to_string(t + 1) + "} goto [Transfer " + std::to_string(m) +
                     "." + std::to_string(t) + "]\r\n";
        paths += "on {timeout 0} goto [Operator]\r\non {9} goto [Voicemail Box 20" +
                 std::to_string(m) + "]\r\non {#} goto [Missing Module]\r\n";
        s.Add("Menu " + std::to_string(m), 4 + m * 480, 200, paths);
        for (int t = 0; t < 8; ++t)
            s.Add("Transfer " + std::to_string(m) + "." + std::to_string(t), 274 + m * 480,
                  200 + t * 140,
                  "on {fail} goto [Menu " + std::to_string((m + 1) % 9) +
                      "]\r\non {success} goto [Goodbye]\r\n");
    }
    s.Add("Operator", 4, 1400, "");
    s.Add("Goodbye", 2000, 1400, "");
    Open(s);
    ASSERT_EQ(Doc().Boxes().size(), 84u);
    const ReadingFaults f = Check();
    EXPECT_LE(20 * f.labelsLeftOut, f.labels) << f.labelsLeftOut << " of " << f.labels;
}

TEST_F(ReadingRules, ModulesWithRandomPaths) {
    Start("[RyKem]\r\nDesignAreaWidth=3700\r\n");
    ScriptText s;
    std::mt19937 random(150);
    std::uniform_int_distribution<int> any(0, 149);
    for (int i = 0; i < 150; ++i) {
        std::string paths;
        for (int k = 0; k < 2; ++k)
            paths += "on {" + std::to_string(k + 1) + "} goto [M" + std::to_string(any(random)) +
                     "]\r\n";
        s.Add("M" + std::to_string(i), 20 + (i % 15) * 240, 20 + (i / 15) * 160, paths);
    }
    Open(s);
    const ReadingFaults f = Check();
    EXPECT_LE(20 * f.labelsLeftOut, f.labels) << f.labelsLeftOut << " of " << f.labels;
}

} // namespace
} // namespace ry::test
