#include "enemy/TankHull.h"

#include "core/MapScroll.h"
#include "core/System.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyCommon.h"
#include "render/Blend.h"
#include "render/Cell.h"

namespace vg {

namespace {

// The sheet holds the hull pointing 0..180 degrees (frames 0..8); the directions of the other
// half turn are those pictures mirrored top-bottom.
struct HullPicture {
    int32_t frame;
    bool mirrorY;
};
HullPicture hullPicture(uint8_t hullFrame) {
    if (hullFrame <= 8) return {hullFrame, false};
    return {16 - hullFrame, true};
}

}  // namespace

TankHull::TankHull(int32_t direction, int32_t travel)
    : travelFrames(travel), hullFrame(static_cast<uint8_t>(sixteenDirectionFrame(direction))) {}

void TankHull::drive(EnemyBase& tank) {
    const System* system = systemOf(tank);
    moveByVelocity(tank, system ? mapSpeed(*system) : 0);
    if (tank.frameCount < travelFrames) {
        treadFrame = static_cast<uint8_t>((treadFrame + 1) % 12);
    } else {
        tank.vx = fixedMul(tank.vx, kBrake);
        tank.vy = fixedMul(tank.vy, kBrake);
    }
}

void TankHull::draw(const EnemyBase& tank, DIB& surface, const DIB& sheet, const atlas::Cell& hull,
                    const atlas::Cell& shadow, bool red) const {
    const System* system = systemOf(tank);
    if (!system) return;
    const int32_t sx = screenX(*system, tank.x);
    const int32_t sy = screenY(*system, tank.y);
    const HullPicture picture = hullPicture(hullFrame);
    blitCell(sheet, surface, shadow, picture.frame, sx + shadow.anchorX, sy + shadow.anchorY,
             Subtract, 128, false, picture.mirrorY);
    drawLit(tank, surface, sheet, hull, picture.frame + 9 * (treadFrame / 4), sx + hull.anchorX,
            sy + hull.anchorY, red, false, picture.mirrorY);
}

}  // namespace vg
