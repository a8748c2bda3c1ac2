// The stages as data: what each stage's table names, and a stage started from the built game
// data with whatever of its files exist (later stages' pictures and scripts may not be made yet).
#include <gtest/gtest.h>

#include <string>

#include "AtlasCells.h"
#include "StageFixture.h"
#include "core/Layers.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "stage/StageControl.h"
#include "stage/StageInit.h"
#include "stage/StageTable.h"

namespace vg {
namespace {

using testing::findTask;

TEST(StageTable, ScriptByDifficulty) {
    struct Case {
        uint8_t stage;
        uint8_t difficulty;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, "stage1e.dat"},   {0, 1, "stage1n.dat"}, {0, 2, "stage1h.dat"},
        {1, 3, "stage2h.dat"},   {4, 4, "stage5h.dat"}, {2, 5, "stage3e.dat"},
        {3, 255, "stage4e.dat"}, {7, 1, "stage1n.dat"},
    };
    for (const Case& c : cases) {
        const StageTable& stage = stageTable(c.stage);
        EXPECT_STREQ(stage.script(c.difficulty), c.name)
            << int{c.stage} << " " << int{c.difficulty};
        // The script check finds a script's stage, and so its pictures, by the script's name.
        EXPECT_EQ(stageTableOfScript(c.name), &stage) << c.name;
    }
    EXPECT_EQ(stageTableOfScript("ending.dat"), nullptr);
}

class StageTableData : public testing::StageTest {};

// Every stage starts from the built data.pck with what it finds there: a picture the package
// holds fills its slot at its atlas size, a missing one leaves the slot empty, a missing script
// leaves the stage without events, and the stage plays on either way.
TEST_F(StageTableData, EveryStageStartsWithTheFilesThatExist) {
    if (!linkData()) GTEST_SKIP() << "no data.pck built";
    for (uint8_t index = 0; index < kStageCount; ++index) {
        makeHost();
        System& s = system();
        s.stageIndex = index;
        s.difficulty = 1;
        s.replay.recording = 1;
        s.playerRecord[0].shipType = 0;
        s.playerRecord[0].lives = 2;
        s.spawnFront<StageInit>(layer::kScreens)->update();

        const StageTable& stage = stageTable(index);
        PackageReader package;
        ASSERT_TRUE(package.openPackage("data.pck"));
        const struct {
            const char* file;
            int slot;
        } pictures[] = {{stage.stageImage, kSlotStage}, {stage.backImage, kSlotBackground}};
        for (const auto& picture : pictures) {
            const DIB& image = s.imageSlots[picture.slot];
            if (!package.findEntry(picture.file)) {
                EXPECT_TRUE(image.empty()) << picture.file;
                continue;
            }
            const atlas::Image* info = nullptr;
            for (const atlas::Image& candidate : atlas::kImages) {
                if (std::string(candidate.file) == picture.file) info = &candidate;
            }
            ASSERT_NE(info, nullptr) << picture.file << " is packed but not in the atlas";
            EXPECT_EQ(image.width, info->width) << picture.file;
            EXPECT_EQ(image.height, info->height) << picture.file;
        }
        const StageControl* control = findTask<StageControl>(s);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->events.empty(), !package.findEntry(stage.script(1))) << stage.script(1);

        host->run(240);
        EXPECT_EQ(s.inStage, 1) << int{index};
        EXPECT_EQ(s.stageStarted, 1) << int{index};
    }
}

}  // namespace
}  // namespace vg
