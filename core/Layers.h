#pragma once

namespace vg::layer {

// The task layers of the game. A task's layer decides both when it is updated and when it is
// drawn (lower first, so underneath). Layers 0..29 are drawn into the play field while a stage is
// shown, 30..31 onto the screen around it; 32 draws nothing.
inline constexpr int kScreens = 0;  // screens, start tasks and StageControl
inline constexpr int kStageControl = 0;
inline constexpr int kBack = 1;  // Back, BackOver
inline constexpr int kGroundWreck = 2;
inline constexpr int kGround = 3;
inline constexpr int kGroundDebris = 4;
inline constexpr int kRipple = 4;  // the ending's ripples
inline constexpr int kBackObjectMiddle = 5;
inline constexpr int kGroundMiddleWreck = 6;
inline constexpr int kGroundMiddle = 7;  // ground enemies above the middle scenery
inline constexpr int kGroundMiddleDebris = 8;
inline constexpr int kBackObjectHigh = 9;
inline constexpr int kCloud = 10;
inline constexpr int kShadow = 11;
inline constexpr int kScreenEffect = 12;
inline constexpr int kHole = 13;
inline constexpr int kBulletChange = 14;
inline constexpr int kCrystal = 15;
inline constexpr int kAir = 16;  // air enemies and most bosses
inline constexpr int kItem = 17;
inline constexpr int kEndingImage = 17;
inline constexpr int kEnergy = 18;
inline constexpr int kBomb = 19;
inline constexpr int kEffect = 21;  // most effects
inline constexpr int kEndingFont = 21;
inline constexpr int kPlayer = 22;
inline constexpr int kShotPlayer0 = 23;
inline constexpr int kShotPlayer1 = 24;
inline constexpr int kBullet = 25;
inline constexpr int kPlayerCollision = 27;
inline constexpr int kFrame = 28;   // chain and laser gauges, BlackFrame, Result, boss gauge
inline constexpr int kBanner = 29;  // stage title, warning, stage complete, continue, game over
inline constexpr int kOutFrame = 30;
inline constexpr int kPause = 31;
inline constexpr int kAttract = 32;

// The layers that hold enemies, in the order hit searches walk them.
inline constexpr int kEnemyLayers[] = {kGround, kGroundMiddle, kAir};

// Shot layer of a player (0 or 1).
constexpr int shotLayer(int playerIndex) {
    return playerIndex == 0 ? kShotPlayer0 : kShotPlayer1;
}

// Where the effects of an enemy on `enemyLayer` go: debris of ground enemies stays on the ground.
constexpr int debrisLayer(int enemyLayer) {
    return enemyLayer == kGround         ? kGroundDebris
           : enemyLayer == kGroundMiddle ? kGroundMiddleDebris
                                         : kEffect;
}
// Where the burning wreck of a ground enemy goes.
constexpr int wreckLayer(int enemyLayer) {
    return enemyLayer == kGroundMiddle ? kGroundMiddleWreck : kGroundWreck;
}

}  // namespace vg::layer
