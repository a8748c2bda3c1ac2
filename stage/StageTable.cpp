#include "stage/StageTable.h"

#include <cstring>

namespace vg {

namespace {

constexpr StageTable kStages[kStageCount] = {
    {
        .stageImage = "boss1.png",
        .backImage = "back1.png",
        .stageTune = "./sound/stage1.ogg",
        .bossTune = "./sound/boss.ogg",
        .scripts = {"stage1e.dat", "stage1n.dat", "stage1h.dat"},
        .backVariant = 0,
        .screenEffect = StageScreenEffect::None,
        .backOver = false,
        .shadows = true,
    },
    {
        .stageImage = "boss2.png",
        .backImage = "back2.png",
        .stageTune = "./sound/stage2.ogg",
        .bossTune = "./sound/boss.ogg",
        .scripts = {"stage2e.dat", "stage2n.dat", "stage2h.dat"},
        .backVariant = 0,
        .screenEffect = StageScreenEffect::Stage2,
        .backOver = false,
        .shadows = true,
    },
    {
        .stageImage = "boss3.png",
        .backImage = "back3.png",
        .stageTune = "./sound/stage3.ogg",
        .bossTune = "./sound/boss.ogg",
        .scripts = {"stage3e.dat", "stage3n.dat", "stage3h.dat"},
        .backVariant = 0,
        .screenEffect = StageScreenEffect::Stage3,
        .backOver = false,
        // The third stage is dark: nothing casts a shadow there.
        .shadows = false,
    },
    {
        .stageImage = "boss4.png",
        .backImage = "back4.png",
        .stageTune = "./sound/stage4.ogg",
        .bossTune = "./sound/boss.ogg",
        .scripts = {"stage4e.dat", "stage4n.dat", "stage4h.dat"},
        .backVariant = 1,
        .screenEffect = StageScreenEffect::None,
        .backOver = true,
        .shadows = true,
    },
    {
        .stageImage = "boss5.png",
        .backImage = "back5.png",
        .stageTune = "./sound/stage5.ogg",
        .bossTune = "./sound/boss.ogg",
        .scripts = {"stage5e.dat", "stage5n.dat", "stage5h.dat"},
        .backVariant = 0,
        .screenEffect = StageScreenEffect::None,
        .backOver = false,
        .shadows = true,
    },
};

}  // namespace

const char* StageTable::script(uint8_t difficulty) const {
    if (difficulty == 1) return scripts[1];
    if (difficulty >= 2 && difficulty <= 4) return scripts[2];
    return scripts[0];
}

const StageTable& stageTable(uint8_t stageIndex) {
    return kStages[stageIndex < kStageCount ? stageIndex : 0];
}

const StageTable* stageTableOfScript(const char* name) {
    if (!name) return nullptr;
    for (const StageTable& stage : kStages) {
        for (const char* script : stage.scripts) {
            if (std::strcmp(script, name) == 0) return &stage;
        }
    }
    return nullptr;
}

}  // namespace vg
