#pragma once

#include <cstdint>

namespace vg {

// The stage-wide tint laid over the play field (layer 12), if any.
enum class StageScreenEffect : uint8_t {
    None,
    Stage2,  // ScreenEffectStage2: the slow sunset
    Stage3,  // ScreenEffectStage3: the gloom
};

// Everything that makes one stage itself, as data: the files StageInit loads and the standing
// tasks it makes for it. The stage's content is in the files: the scripts place the enemies
// and the scenery; the stage image holds the bosses and the scenery cells; the background is
// the map. Adding a stage means filling its row and making its files (stage/README.md).
struct StageTable {
    const char* stageImage;  // the stage image slot: bosses and scenery ("boss1.png")
    const char* backImage;   // the background image slot: the map ("back1.png")
    const char* stageTune;   // sound 24
    const char* bossTune;    // sound 25, started by the boss
    // The script entries by difficulty: "e" (Easy), "n" (Normal), "h" (Hard, Extra, Extra2).
    const char* scripts[3];
    uint8_t backVariant;  // Back's blend: 0 Alpha, 1 ColorKey + Alpha (over the BackOver)
    StageScreenEffect screenEffect;
    bool backOver;  // the drifting picture beneath a variant-1 map
    bool shadows;   // the ship, enemy and item shadow renderers

    // The script entry for a difficulty: 1 plays "n", 2..4 "h", anything else "e".
    const char* script(uint8_t difficulty) const;
};

inline constexpr uint8_t kStageCount = 5;

// The stage `stageIndex` plays; an index past the last stage plays the first stage's.
const StageTable& stageTable(uint8_t stageIndex);

// The stage whose scripts include the entry `name` ("stage1n.dat"), or null (the ending's script,
// a loose file).
const StageTable* stageTableOfScript(const char* name);

}  // namespace vg
