#include "app/Bot.h"

#include <algorithm>
#include <cstdlib>

#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "input/KeyRecord.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr uint8_t kDirections[9] = {
    0,
    kButtonUp,
    kButtonUp | kButtonRight,
    kButtonRight,
    kButtonDown | kButtonRight,
    kButtonDown,
    kButtonDown | kButtonLeft,
    kButtonLeft,
    kButtonUp | kButtonLeft,
};
// Frames after which a plan changes to its second direction.
constexpr int kSwitchFrames[] = {4, 10};

// Clearance wanted around bullets and enemy bodies, in pixels.
constexpr int kBulletMargin = 9;
constexpr int kEnemyMargin = 14;
// What a hit costs, per frame it comes early.
constexpr int64_t kHitCost = 4'000'000;
// Danger of the chosen plan above which the laser (which slows the ship) is let go.
constexpr int64_t kLaserSafeDanger = 3000;
// A plan hit this soon whatever the ship does: bomb.
constexpr int kCorneredFrames = 3;
// Pixels from the ship within which threats are looked at (beyond what a plan can reach).
constexpr int32_t kReach = 150;
// Resting height: low in the field, where bullets take longest to arrive.
constexpr int32_t kRestY = 300;
constexpr int32_t kFieldMiddle = 124;

struct ShipSim {
    int32_t x;
    int32_t y;
    int32_t scroll;
    int32_t speed;

    // As the ship moves, with the field scroll it asks for held as the field holds it.
    void step(uint8_t directions) {
        const PlayerBase::ViewStep moved = PlayerBase::stepInView(x, y, speed, directions);
        x = moved.x;
        y = moved.y;
        scroll = std::clamp(scroll + moved.scrollChange, 0, PlayerBase::kMaxFieldScroll);
    }
    int32_t fieldX() const { return fixedToInt(x) + fixedToInt(scroll) - 12; }
    int32_t fieldY() const { return fixedToInt(y); }
};

// Weight of a near miss `t` frames ahead: what is near is sure, what is far may still change.
int64_t nearMissWeight(int t) {
    return 64 * 16 / (16 + t);
}

bool liveEnemy(const EnemyBase& enemy) {
    return !enemy.dead && enemy.hitPoints > 0;
}

}  // namespace

Bot::Bot(int playerIndex) : playerIndex_(playerIndex & 1) {}

void Bot::gatherThreats(const System& system, int32_t fx, int32_t fy) {
    threats_.clear();
    // Whether a straight path from (x, y) over the horizon passes near the ship.
    const auto near = [&](int32_t x, int32_t y, int32_t vx, int32_t vy, const HitBox& box) {
        const int32_t x0 = fixedToInt(x);
        const int32_t y0 = fixedToInt(y);
        const int32_t x1 = fixedToInt(x + vx * kHorizon);
        const int32_t y1 = fixedToInt(y + vy * kHorizon);
        const int32_t left = std::min(x0, x1) + box.left;
        const int32_t right = std::max(x0, x1) + box.right;
        const int32_t top = std::min(y0, y1) + box.top;
        const int32_t bottom = std::max(y0, y1) + box.bottom;
        return left < fx + kReach && right > fx - kReach && top < fy + kReach &&
               bottom > fy - kReach;
    };
    forEachInLayer<BulletBase>(system, layer::kBullet, [&](const BulletBase& bullet) {
        if (const auto* typed = dynamic_cast<const Bullet*>(&bullet)) {
            if (typed->type == kBulletCancelled) return;
        }
        if (!near(bullet.x, bullet.y, bullet.vx, bullet.vy, bullet.hitBox)) return;
        threats_.push_back(
            Threat{bullet.x, bullet.y, bullet.vx, bullet.vy, bullet.hitBox, 1, kBulletMargin});
    });
    std::map<int32_t, std::pair<int32_t, int32_t>> seen;
    forEachInLayer<EnemyBase>(system, layer::kAir, [&](const EnemyBase& enemy) {
        seen[enemy.serial] = {enemy.x, enemy.y};
        if (!liveEnemy(enemy)) return;
        int32_t vx = enemy.vx;
        int32_t vy = enemy.vy;
        if (const auto last = lastEnemyPosition_.find(enemy.serial);
            last != lastEnemyPosition_.end()) {
            vx = enemy.x - last->second.first;
            vy = enemy.y - last->second.second;
        }
        if (!near(enemy.x, enemy.y, vx, vy, enemy.hitBox)) return;
        threats_.push_back(Threat{enemy.x, enemy.y, vx, vy, enemy.hitBox, 0, kEnemyMargin});
    });
    lastEnemyPosition_ = std::move(seen);
}

void Bot::chooseGoal(const System& system, const PlayerBase& ship, int32_t& goalX, int32_t& goalY,
                     bool& laserTarget) const {
    const int32_t fx = ship.fieldX(system);
    const int32_t fy = ship.fieldY();
    goalX = kFieldMiddle;
    goalY = kRestY;
    laserTarget = false;

    // Items first: they stay in the field for half a minute, bouncing.
    int32_t bestItem = INT32_MAX;
    forEachInLayer<Item>(system, layer::kItem, [&](const Item& item) {
        const int32_t ix = fixedToInt(item.x);
        const int32_t iy = fixedToInt(item.y);
        if (iy < 60 || iy > 340) return;
        const int32_t distance = std::abs(ix - fx) + std::abs(iy - fy);
        if (distance < bestItem) {
            bestItem = distance;
            goalX = ix;
            goalY = iy;
        }
    });
    if (bestItem != INT32_MAX) return;

    // Else under the nearest enemy above the ship.
    const EnemyBase* target = nullptr;
    int32_t bestTarget = INT32_MAX;
    for (const int enemyLayer : layer::kEnemyLayers) {
        forEachInLayer<EnemyBase>(system, enemyLayer, [&](const EnemyBase& enemy) {
            if (!liveEnemy(enemy)) return;
            const int32_t ex = fixedToInt(enemy.x);
            const int32_t ey = fixedToInt(enemy.y);
            if (ey < 8 || ey > fy - 40 || ex < -8 || ex > 256) return;
            // Big targets draw the ship from further away.
            const int32_t bonus = enemy.hitPoints >= kLaserTargetHitPoints ? 40 : 0;
            const int32_t distance = std::abs(ex - fx) + (fy - ey) / 4 - bonus;
            if (distance < bestTarget) {
                bestTarget = distance;
                target = &enemy;
            }
        });
    }
    if (!target) return;
    goalX = fixedToInt(target->x);
    laserTarget = target->hitPoints >= kLaserTargetHitPoints && std::abs(goalX - fx) < 32;
}

Bot::Outcome Bot::evaluate(const System& system, const PlayerBase& ship, const Plan& plan,
                           int32_t goalX, int32_t goalY) const {
    Outcome outcome;
    ShipSim sim{ship.x, ship.y, system.fieldScroll, ship.speed};
    for (int t = 1; t <= kHorizon; ++t) {
        sim.step(t <= plan.switchAt ? plan.first : plan.second);
        const int32_t fx = sim.fieldX();
        const int32_t fy = sim.fieldY();
        const int64_t weight = nearMissWeight(t);
        for (const Threat& threat : threats_) {
            const int32_t moved = std::max(0, t - threat.lag);
            const int32_t tx = fixedToInt(threat.x + threat.vx * moved);
            const int32_t ty = fixedToInt(threat.y + threat.vy * moved);
            // Gaps between the ship's box (-1..1) and the threat's; negative on both axes is a
            // hit, as the collision pass tests it.
            const int32_t gapX =
                std::max(tx + threat.box.left - (fx + 1), (fx - 1) - (tx + threat.box.right));
            const int32_t gapY =
                std::max(ty + threat.box.top - (fy + 1), (fy - 1) - (ty + threat.box.bottom));
            if (gapX < 0 && gapY < 0) {
                outcome.danger += kHitCost * (kHorizon + 1 - t);
                if (outcome.firstHit == 0) outcome.firstHit = t;
                continue;
            }
            const int32_t clearance = std::max(gapX, gapY);
            if (clearance < threat.margin) {
                const int64_t missing = threat.margin - clearance;
                outcome.danger += weight * missing * missing;
            }
        }
        // Walls and the bottom corner a ship.
        const int32_t wall = std::min({fixedToInt(sim.x) - 4, 236 - fixedToInt(sim.x),
                                       348 - fixedToInt(sim.y), fixedToInt(sim.y) - 36});
        if (wall < 24) outcome.cost += int64_t{24 - wall} * (24 - wall) * 2;
        if (t == plan.switchAt || t == kHorizon) {
            outcome.cost += int64_t{std::abs(fx - goalX)} * 24 + int64_t{std::abs(fy - goalY)} * 12;
        }
    }
    outcome.cost += outcome.danger;
    return outcome;
}

uint8_t Bot::decide(const System& system) {
    decision_ = Decision{};
    const PlayerBase* ship = PlayerBase::find(system, playerIndex_);
    if (!ship) {
        lastEnemyPosition_.clear();
        return 0;
    }
    const int32_t fx = ship->fieldX(system);
    const int32_t fy = ship->fieldY();
    gatherThreats(system, fx, fy);

    // The moment after a hit: a bomb still saves the ship.
    if (ship->lifeState == PlayerState::Dying) {
        decision_.bomb = ship->bombs > 0;
        return decision_.bomb ? kButtonBomb : 0;
    }
    if (!ship->inPlay()) return 0;
    // Invincible for a while yet: nothing can hurt the ship, so nothing is dodged.
    if (ship->lifeState == PlayerState::Invincible && ship->stateTimer > 30) threats_.clear();
    decision_.threats = static_cast<int>(threats_.size());

    int32_t goalX = kFieldMiddle;
    int32_t goalY = kRestY;
    bool laserTarget = false;
    chooseGoal(system, *ship, goalX, goalY, laserTarget);

    Outcome best;
    uint8_t bestDirections = 0;
    bool found = false;
    for (const int switchAt : kSwitchFrames) {
        for (const uint8_t first : kDirections) {
            for (const uint8_t second : kDirections) {
                // A plan that never turns is tried once.
                if (first == second && switchAt != kSwitchFrames[0]) continue;
                Outcome outcome =
                    evaluate(system, *ship, Plan{first, second, switchAt}, goalX, goalY);
                // Keeping on the way already taken steadies the ship.
                if (first == lastDirections_) outcome.cost -= 40;
                if (!found || outcome.cost < best.cost) {
                    best = outcome;
                    bestDirections = first;
                    found = true;
                }
            }
        }
    }
    lastDirections_ = bestDirections;
    decision_.danger = best.danger;
    decision_.firstHit = best.firstHit;

    uint8_t buttons = bestDirections;
    decision_.laser = laserTarget && best.firstHit == 0 && best.danger < kLaserSafeDanger;
    buttons |= decision_.laser ? kButtonShot : kButtonAuto;
    if (best.firstHit != 0 && best.firstHit <= kCorneredFrames && ship->bombs > 0 &&
        ship->lifeState == PlayerState::Normal) {
        decision_.bomb = true;
        buttons |= kButtonBomb;
    }
    return buttons;
}

}  // namespace vg
