#include "rys_run.h"

#include "canvas/box_geometry.h"
#include "canvas/routes.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace ry {
namespace {

using test::ReadAll;
using test::Rys;
using test::RysRun;
using test::TempDir;

// A menu whose every box sits at 0,0, with fields of every kind that must come back as they were.
const char* const kPiledUp =
    "Version=5.0\r\nStartModule=Menu\r\n\r\n"
    "[Welcome]\r\nType=Play\r\nDispSize=24\r\nTxt=Hello\r\nReplay=2,5\r\nstrTtsText=\r\n"
    "ON {1}   GOTO [Menu]\r\nPosition=0,0\r\n\r\n"
    "[Menu]\r\nType=Menu\r\nDispSize=69\r\nTxt=Choose\r\nReplay=3,4\r\n"
    "ON {1}   GOTO [Sales]\r\nON {2}   GOTO [Support]\r\nON {3}   GOTO [Welcome]\r\n"
    "Position=0,0\r\n\r\n"
    "[Sales]\r\nType=Hangup the Call\r\nDispSize=69\r\nTxt=Bye\r\n\r\nPosition=0,0\r\n\r\n"
    "[Support]\r\nType=Hangup the Call\r\nDispSize=69\r\nTxt=Bye\r\n\r\nPosition=0,0\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

Rect BoxOf(const std::string& positionLine, int height) {
    Rect r{0, 0, kBoxWidth, height};
    std::sscanf(positionLine.c_str(), "Position=%d,%d", &r.Left, &r.Top);
    return r;
}

TEST(RysArrange, OnlyPositionsChangeAndNoBoxesOverlap) {
    TempDir dir;
    const std::string in = dir.Write("in.rys", kPiledUp);
    const std::string same = dir.File("same.rys"), arranged = dir.File("arranged.rys");
    ASSERT_EQ(Rys({"resave", in, same}).code, 0);
    RysRun run = Rys({"arrange", in, arranged});
    ASSERT_EQ(run.code, 0) << run.err;

    const auto before = Lines(ReadAll(same)), after = Lines(ReadAll(arranged));
    ASSERT_EQ(before.size(), after.size());
    std::vector<Rect> boxes;
    int height = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i].starts_with("DispSize="))
            height = BoxHeightFor(std::stoi(before[i].substr(9)));
        if (!before[i].starts_with("Position=")) {
            EXPECT_EQ(before[i], after[i]);
            continue;
        }
        ASSERT_TRUE(after[i].starts_with("Position="));
        boxes.push_back(BoxOf(after[i], height));
    }
    ASSERT_EQ(boxes.size(), 4u);
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_GE(boxes[i].Left, 0);
        EXPECT_GE(boxes[i].Top, 0);
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Intersects(boxes[i], boxes[j])) << j << " and " << i;
    }
    // The start module heads the flow; what it leads to lies below it.
    EXPECT_LT(boxes[1].Top, boxes[2].Top);
    EXPECT_LT(boxes[1].Top, boxes[3].Top);
    EXPECT_LT(boxes[1].Top, boxes[0].Top);
}

TEST(RysArrange, ExitCodes) {
    TempDir dir;
    const std::string in = dir.Write("in.rys", kPiledUp);
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{"arrange", in}, 2},
        {{"arrange", in, dir.File("a.rys"), "extra"}, 2},
        {{"arrange", dir.File("missing.rys"), dir.File("b.rys")}, 1},
        {{"arrange", in, dir.File("no/such/folder/c.rys")}, 1},
        {{"arrange", in, dir.File("d.rys")}, 0},
        {{"arrange", in, dir.File("e.rys"), "--area", "3000x2500"}, 0},
        {{"arrange", in, dir.File("f.rys"), "--area", "3000"}, 2},
        {{"arrange", in, dir.File("g.rys"), "--area", "100x2000"}, 2},
        {{"arrange", in, dir.File("h.rys"), "--area", "2000x40000"}, 2},
        {{"arrange", in, dir.File("i.rys"), "--area", "2000x2000x"}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rys(c.args).code, c.code) << c.args.back();
}

TEST(RysArrange, AnAreaTooSmallSaysTheRoomNeededAndSavesNothing) {
    TempDir dir;
    std::string text = "Version=5.0\r\nStartModule=M0\r\n";
    for (int i = 0; i < 60; ++i)
        text += "\r\n[M" + std::to_string(i) + "]\r\nType=Menu\r\nDispSize=69\r\n" +
                "ON {1}   GOTO [M" + std::to_string((i + 1) % 60) + "]\r\n" + "ON {2}   GOTO [M" +
                std::to_string((i * 7) % 60) + "]\r\nPosition=0,0\r\n";
    const std::string in = dir.Write("many.rys", text);
    const std::string out = dir.File("out.rys");
    const RysRun run = Rys({"arrange", in, out, "--area", "400x400"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("The arranged modules need "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" pixels; the design area is 400 x 400. Nothing was saved"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace ry
