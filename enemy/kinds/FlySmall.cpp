#include "enemy/kinds/FlySmall.h"

#include "core/FixedMath.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr int32_t kShellSpeed = 3 * kFixedOne;
constexpr uint8_t kShell = 5;
constexpr int32_t kStraightDown = 90 * kDegree;

constexpr KindFigures kFigures{
    .hitPoints = FlySmall::kHitPoints,
    .entryHold = 10,
    .hitBox = {-10, -10, 10, 10},
    .bounds = {-64, -32, 376, 416},
    .reward = {64, 100, 3, 0},
    .destruction = Destruction::SmallCraft,
    .sprite = &atlas::enemy::kFlySmall,
    .shadow = &atlas::enemy::kFlySmall,
};

}  // namespace

FlySmall::FlySmall(int32_t x0, int32_t y0, const FlySmallCourse& c, int8_t level)
    : KindBase(x0, y0, kFigures),
      mode(c.mode <= FlySmallCourse::kShipBrake ? c.mode
                                                : static_cast<uint8_t>(FlySmallCourse::kStraight)),
      course(c.direction),
      speed(c.speed),
      brake{c.factor, c.frames, c.speed, c.direction},
      turn(c.turn),
      acceleration(c.acceleration),
      curveFrames(c.frames),
      directionFrame(0) {
    attackLevel = level;
    if (mode == FlySmallCourse::kShip || mode == FlySmallCourse::kShipBrake) {
        course = kStraightDown;
    }
    setCourse(course);
}

void FlySmall::setCourse(int32_t direction) {
    course = wrapAngle(direction);
    setVelocityAlong(*this, course, speed);
    directionFrame = sixteenDirectionFrame(course);
}

void FlySmall::steer() {
    switch (mode) {
        case FlySmallCourse::kShipBrake:
            // Aims once at the ship at its speed (straight down without one), then brakes.
            if (const PlayerBase* player = nearestPlayer()) {
                setCourse(fixedDegrees(headingTo(x, y, aimX(*system(), *player), aimY(*player))));
            }
            brake.course = course;
            mode = FlySmallCourse::kBrake;
            brake.step(frameCount, vx, vy);
            break;
        case FlySmallCourse::kBrake:
            brake.step(frameCount, vx, vy);
            break;
        case FlySmallCourse::kCurve:
            if (frameCount <= curveFrames) {
                speed = addClamped(speed, acceleration);
                setCourse(static_cast<int32_t>(wrapAngle(static_cast<int64_t>(course) + turn)));
            }
            break;
        case FlySmallCourse::kShip:
            if (frameCount < 120) {
                const double turned =
                    turnTowardTarget(*this, static_cast<double>(course) / kFixedOne, 1.0);
                setCourse(fixedDegrees(turned));
            }
            break;
        default:
            break;
    }
}

void FlySmall::move(System&) {
    steer();
    moveByVelocity(*this);
}

void FlySmall::act(System& sys) {
    if (frameCount > 119 || attackLevel < 1) return;
    const int32_t phase = frameCount % 64;
    if (phase % 10 != 0 || phase / 10 >= attackLevel) return;
    const PlayerBase* player = nearestPlayer();
    if (!player) return;
    fireAimed(sys, aimX(sys, *player), aimY(*player), x, y, kShellSpeed, kShell, serial);
}

EnemyBase* spawnFlySmall(KindSpawn& spawn) {
    // The keyword chooses the flight; each flight reads its own values.
    FlySmallCourse course;
    course.mode = spawn.kind.variant;
    const bool ship =
        course.mode == FlySmallCourse::kShip || course.mode == FlySmallCourse::kShipBrake;
    if (!ship) course.direction = spawn.number("direction");
    course.speed = spawn.number("speed");
    if (course.mode == FlySmallCourse::kBrake || course.mode == FlySmallCourse::kShipBrake) {
        course.factor = spawn.number("factor");
        course.frames = spawn.integer("frames");
    } else if (course.mode == FlySmallCourse::kCurve) {
        course.turn = spawn.number("turn");
        course.acceleration = spawn.number("acceleration");
        course.frames = spawn.integer("frames");
    }
    return spawn.create<FlySmall>(spawn.x(), spawn.y(), course, spawn.attackLevel());
}

}  // namespace vg
