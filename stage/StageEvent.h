#pragma once

#include <cstdint>

namespace vg {

// One line of a stage script in memory: the frame of the stage clock it fires at, its kind code
// and up to ten values in the order the line gives them. Number fields hold 16.16 values;
// integer fields hold the integer shifted left by 16, and their users read back the upper 16
// bits as a signed 16-bit number.
struct StageEvent {
    int32_t time = 0;
    int32_t kind = 0;
    int32_t args[10] = {};

    // Number field i as a 16.16 value.
    int32_t number(int i) const { return args[i]; }
    // Integer field i (the upper 16 bits, signed).
    int16_t integer(int i) const {
        return static_cast<int16_t>(static_cast<uint32_t>(args[i]) >> 16);
    }
};

// Event kind codes of the script keywords.
enum StageEventKind : int32_t {
    kEventMapScrollSpeed = 0,
    kEventMapPosY = 1,
    kEventMapLoopBackPointY = 2,
    kEventMapLoopPointY = 3,
    kEventFirstEnemy = 100,  // ENEMY_TANKSMALL
    kEventLastEnemy = 153,   // ENEMY_BOSS5_D
    kEventBackObjectMiddle = 154,
    kEventBackObjectHigh = 155,
    kEventCloud = 156,
    kEventCloudEx = 157,
    kEventHole = 158,
    kEventHoleMove = 159,
    kEventWarning = 160,
    kEventResult = 161,
    kEventSetTime = 162,
    kEventSetTimeIfOnEnemy = 163,
    kEventSetTimeIfNoneEnemy = 164,
    kEventStageComplete = 165,
    kEventEndingImage = 166,
    kEventEndingFont = 167,
    kEventEndingFinish = 168,
};

}  // namespace vg
