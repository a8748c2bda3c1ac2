// Stage scripts that name atlas cells: each named line becomes the numbers of its cell, every
// other byte stays as it was, and every scenery rectangle and loop row, named or numeric, is
// checked against the stage's pictures; the same reading in the script check of the data build
// and in a loose script played with --script.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "StageFixture.h"
#include "core/Layers.h"
#include "stage/Back.h"
#include "stage/Scenery.h"
#include "stage/ScriptCells.h"
#include "stage/StageInit.h"
#include "stage/StageTable.h"

namespace vg {
namespace {

using testing::findTask;

std::string rectangle(const atlas::Cell& cell, int32_t frame = 0) {
    return std::to_string(cell.w) + "," + std::to_string(cell.h) + "," +
           std::to_string(cell.frameX(frame)) + "," + std::to_string(cell.frameY(frame));
}

std::string resolve(const std::string& text, std::vector<ScriptCellProblem>* problems,
                    uint8_t stage = 0) {
    std::string resolved;
    resolveScriptCells(text, stageTable(stage), resolved, problems);
    return resolved;
}

TEST(ScriptCells, NamedLinesBecomeTheirCellsNumbers) {
    const atlas::Cell& freighter = atlas::boss1::kSceneryFreighter;
    const atlas::Cell& hedgehogs = atlas::boss1::kSceneryHedgehogs;
    const atlas::Cell& sea = atlas::back1::kSeaLoop;
    struct Case {
        std::string line;
        std::string resolved;
    };
    const Case cases[] = {
        {"2153,BACK_OBJECT_MIDDLE,108,-154,SceneryFreighter",
         "2153,BACK_OBJECT_MIDDLE,108,-154," + rectangle(freighter)},
        {"1,BACK_OBJECT_HIGH,4,-13.5,SceneryHedgehogs:1",
         "1,BACK_OBJECT_HIGH,4,-13.5," + rectangle(hedgehogs, 1)},
        // Blanks around a name, a '\r' anywhere and trailing remarks, as the parser allows.
        {"2,BACK_OBJECT_MIDDLE,0,0, SceneryFreighter\t,by the mole\r",
         "2,BACK_OBJECT_MIDDLE,0,0," + rectangle(freighter) + ",by the mole"},
        {"0,MAP_POS_Y,StartView", "0,MAP_POS_Y," + std::to_string(atlas::back1::kStartView.y)},
        {"0,MAP_LOOP_POINT_Y,SeaLoop", "0,MAP_LOOP_POINT_Y," + std::to_string(sea.y)},
        {"0,MAP_LOOP_BACK_POINT_Y,SeaLoop",
         "0,MAP_LOOP_BACK_POINT_Y," + std::to_string(sea.y + sea.h)},
        // Lines that name nothing stay byte for byte, '\r' and all.
        {"3,BACK_OBJECT_MIDDLE,1,2," + rectangle(freighter) + "\r",
         "3,BACK_OBJECT_MIDDLE,1,2," + rectangle(freighter) + "\r"},
        {"# 0,MAP_POS_Y,StartView", "# 0,MAP_POS_Y,StartView"},
        {",MAP_POS_Y,StartView", ",MAP_POS_Y,StartView"},
        {"0, MAP_POS_Y,StartView", "0, MAP_POS_Y,StartView"},
        {"0,MAP_LOOP_POINT_Y,0", "0,MAP_LOOP_POINT_Y,0"},
        {"0,CLOUD,SceneryFreighter,1,2,3,4", "0,CLOUD,SceneryFreighter,1,2,3,4"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptCellProblem> problems;
        EXPECT_EQ(resolve(c.line + "\n", &problems), c.resolved + "\n") << c.line;
        EXPECT_TRUE(problems.empty()) << c.line << ": " << problems[0].message;
    }
    // Lines keep their numbers, the text its end, and a NUL still ends the script.
    std::vector<ScriptCellProblem> problems;
    const std::string withNul =
        std::string("\n\n0,MAP_POS_Y,StartView\n1,MAP_POS_Y,1") + '\0' + "\n2,MAP_POS_Y,Nowhere\n";
    EXPECT_EQ(resolve(withNul, &problems),
              "\n\n0,MAP_POS_Y," + std::to_string(atlas::back1::kStartView.y) + "\n1,MAP_POS_Y,1");
}

TEST(ScriptCells, WhatDoesNotAgreeWithTheAtlasIsNamedByItsLine) {
    struct Case {
        std::string line;
        const char* said;
        uint8_t stage = 0;
    };
    const Case cases[] = {
        {"5,BACK_OBJECT_MIDDLE,1,2,SceneryFreighters",
         "no cell \"SceneryFreighters\" in boss1.png"},
        {"5,BACK_OBJECT_MIDDLE,1,2,SceneryFreighter:1", "SceneryFreighter has 1 frame(s)"},
        {"5,BACK_OBJECT_MIDDLE,1,2,SceneryHedgehogs:x", "a frame is written Cell:N"},
        {"5,BACK_OBJECT_MIDDLE,1,2,BossLoop", "no cell \"BossLoop\" in boss1.png"},
        // A rectangle off by four rows, and one of a cell's size at no cell.
        {"5,BACK_OBJECT_MIDDLE,1,2,56,152,136,340",
         "BACK_OBJECT_MIDDLE 56 x 152 from (136, 340) is no cell of boss1.png"},
        {"5,BACK_OBJECT_HIGH,1,2,56,152,136,344.5,x", ""},  // integers read as the parser does
        {"5,BACK_OBJECT_HIGH,1,2,56,150,136,344",
         "from (136, 344) is no cell of boss1.png (SceneryFreighter there is 56 x 152)"},
        {"5,BACK_OBJECT_HIGH,1,2", "0 x 0 from (0, 0) is no cell"},
        {"5,MAP_LOOP_POINT_Y,7230",
         "MAP_LOOP_POINT_Y 7230 is neither 0 nor the y of a loop cell of back1.png"},
        {"5,MAP_LOOP_POINT_Y,7232.5", "MAP_LOOP_POINT_Y 7232.5 is neither 0"},
        {"5,MAP_LOOP_BACK_POINT_Y,7232", "nor the y + height of a loop cell"},
        {"5,MAP_LOOP_POINT_Y,RegionSea", "names RegionSea, which is no loop cell"},
        {"5,MAP_POS_Y,Nowhere", "no cell \"Nowhere\" in back1.png"},
        // A stage whose pictures are not drawn yet: its scenery cannot agree with anything.
        {"5,BACK_OBJECT_MIDDLE,1,2,56,152,136,344", "boss2.png is not in the atlas", 1},
        {"5,MAP_LOOP_POINT_Y,SeaLoop", "back2.png is not in the atlas", 1},
    };
    for (const Case& c : cases) {
        const std::string text = "# first\n0,MAP_POS_Y,7808\n" + c.line + "\n";
        std::vector<ScriptCellProblem> problems;
        std::string resolved;
        const bool clean = resolveScriptCells(text, stageTable(c.stage), resolved, &problems);
        if (std::string(c.said).empty()) {
            EXPECT_TRUE(clean) << c.line;
            continue;
        }
        EXPECT_FALSE(clean) << c.line;
        ASSERT_EQ(problems.size(), 1u) << c.line;
        EXPECT_EQ(problems[0].line, 3) << c.line;
        EXPECT_NE(problems[0].message.find(c.said), std::string::npos) << problems[0].message;
        // A name that cannot be read stays as written: the parser reads it as 0.
        if (c.line.find("Freighters") != std::string::npos) {
            EXPECT_EQ(resolved, text);
        }
    }
    // The loop may always be switched off.
    std::vector<ScriptCellProblem> none;
    resolve("0,MAP_LOOP_POINT_Y,0\n0,MAP_LOOP_BACK_POINT_Y,0\n", &none, 1);
    EXPECT_TRUE(none.empty());
}

class ScriptCellsPlayed : public testing::StageTest {};

// A loose script played with --script names cells as the packed scripts' sources do.
TEST_F(ScriptCellsPlayed, ALooseScriptNamesCellsAsTheSourcesDo) {
    makeHost();
    System& s = system();
    s.stageIndex = 0;
    s.replay.recording = 1;
    s.testStageScript = writeScript("wave.dat",
                                    "0,MAP_LOOP_POINT_Y,BossLoop\n"
                                    "0,MAP_LOOP_BACK_POINT_Y,BossLoop\n"
                                    "0,BACK_OBJECT_HIGH,10,20,SceneryTreesSmall:1\n");
    s.spawnFront<StageInit>(layer::kScreens)->update();
    host->run(1);
    const Back* back = findTask<Back>(s);
    ASSERT_NE(back, nullptr);
    const atlas::Cell& loop = atlas::back1::kBossLoop;
    EXPECT_EQ(back->loopPoint, loop.y << 16);
    EXPECT_EQ(back->loopBackPoint, (loop.y + loop.h) << 16);
    const BackObject* trees = findTask<BackObject>(s);
    ASSERT_NE(trees, nullptr);
    const atlas::Cell& cell = atlas::boss1::kSceneryTreesSmall;
    EXPECT_EQ(trees->width, cell.w);
    EXPECT_EQ(trees->height, cell.h);
    EXPECT_EQ(trees->sourceX, cell.frameX(1));
    EXPECT_EQ(trees->sourceY, cell.frameY(1));
}

// The data build's check: a good script passes and is written out in numbers, a bad one fails
// with its file and line and writes nothing.
class ScriptCheckTool : public testing::StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        if (!std::filesystem::exists(kTool)) GTEST_SKIP() << "no script check tool";
    }
    int check(const std::string& script, const std::string& options) {
        const std::string command =
            kTool + " " + script + " " + options + " > listing.txt 2> said.txt";
        const int status = std::system(command.c_str());
        std::ifstream in("said.txt");
        said.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string kTool = std::string(VG_BINARY_DIR) + "/tools/scriptcheck/vg-script-check";
    std::string said;
};

TEST_F(ScriptCheckTool, AGoodScriptIsWrittenInNumbersABadOneFailsAtItsLine) {
    const std::string good = "0,MAP_POS_Y,StartView\n10,BACK_OBJECT_MIDDLE,1,2,SceneryBunker\n";
    // Named by its file as a stage 1 script, or told its stage.
    const std::string script = writeScript("stage1n.dat", good);
    EXPECT_EQ(check(script, "--resolved out.dat"), 0) << said;
    std::ifstream out("out.dat");
    const std::string written((std::istreambuf_iterator<char>(out)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "0,MAP_POS_Y," + std::to_string(atlas::back1::kStartView.y) +
                           "\n10,BACK_OBJECT_MIDDLE,1,2," +
                           rectangle(atlas::boss1::kSceneryBunker) + "\n");
    EXPECT_EQ(check(writeScript("wave.dat", good), "--stage 0"), 0) << said;

    const std::string bad = writeScript("stage1h.dat", good + "# gap\n20,MAP_LOOP_POINT_Y,7000\n");
    EXPECT_EQ(check(bad, "--resolved bad.dat"), 1);
    EXPECT_NE(said.find(bad + ":4: MAP_LOOP_POINT_Y 7000"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists("bad.dat"));
    // A loose file of no stage names nothing, and its stage must be one there is.
    EXPECT_EQ(check(writeScript("wave2.dat", "0,MAP_POS_Y,7808\n"), ""), 0) << said;
    EXPECT_EQ(check(script, "--stage 5"), 2);
}

}  // namespace
}  // namespace vg
