#include "player/Pickups.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "AtlasCells.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/MapScroll.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/EnemyCommon.h"
#include "input/KeyRecord.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// How long an item bounces inside the view before it may drift out.
constexpr int16_t kItemBounceFrames = 1800;
constexpr int32_t kEnergyHomingSpeed = 8;
constexpr int32_t kCrystalHomingSpeed = 7;

// A player that pickups fly to: present and not dying.
PlayerBase* pickupTarget(const System& system, int index) {
    PlayerBase* player = PlayerBase::find(system, index);
    return player && player->lifeState != PlayerState::Dying ? player : nullptr;
}

// Offset from a pickup at (x, y) to a player's field position (16.16), and its length.
struct Reach {
    int64_t dx;
    int64_t dy;
    double distance;
};
Reach reachTo(const System& system, const PlayerBase& player, int32_t x, int32_t y) {
    const int64_t dx = static_cast<int64_t>(fixedFromInt(player.fieldX(system))) - x;
    const int64_t dy = static_cast<int64_t>(fixedFromInt(player.fieldY())) - y;
    const double fx = static_cast<double>(dx);
    const double fy = static_cast<double>(dy);
    return {dx, dy, std::sqrt(fx * fx + fy * fy)};
}

// The velocity of `speed` whole pixels a frame along `reach`; kept as it was at distance 0.
void flyAlong(const Reach& reach, int32_t speed, int32_t& vx, int32_t& vy) {
    if (reach.distance <= 0) return;
    const double scale = static_cast<double>(speed) * kFixedOne / reach.distance;
    vx = static_cast<int32_t>(static_cast<double>(reach.dx) * scale);
    vy = static_cast<int32_t>(static_cast<double>(reach.dy) * scale);
}

// Pickups leave the field at the same bounds.
bool outsidePickupBounds(int32_t x, int32_t y) {
    return x < fixedFromInt(-64) || x > fixedFromInt(304) || y < fixedFromInt(-128) ||
           y > fixedFromInt(416);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

Item::Item(int32_t x0, int32_t y0, int32_t vx0, int32_t vy0, uint8_t itemType)
    : x(x0), y(y0), vx(vx0), vy(vy0), type(std::min<uint8_t>(itemType, kItemFullPower)) {}

void Item::update() {
    const System* sys = systemOf(*this);
    if (!sys) return;
    x += vx;
    y += vy;
    // The view's edges in field x.
    const int32_t left = fixedFromInt(fixedToInt(sys->fieldScroll) - 12);
    const int32_t right = fixedFromInt(fixedToInt(sys->fieldScroll) + 228);
    const int32_t top = fixedFromInt(32);
    const int32_t bottom = fixedFromInt(352);
    if (age <= kItemBounceFrames) {
        if (x < left || x > right) {
            vx = -vx;
            x = x < left ? left : right;
        }
        if (y < top || y > bottom) {
            vy = -vy;
            y = y < top ? top : bottom;
        }
    } else if (x < left || x > right || y < 0 || y > fixedFromInt(384)) {
        end();
        return;
    }
    // The age advances one per frame, so an item stops bouncing after 1800 frames (30 seconds)
    // and drifts out of the view.
    if (age < std::numeric_limits<int16_t>::max()) ++age;
    animationStep = static_cast<uint8_t>((animationStep + 1) % 16);
}

void Item::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    blitCellCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kItem,
                    type * 4 + animationStep / 4, screenX(*sys, x), screenY(*sys, y), ColorKey);
}

// ---------------------------------------------------------------------------------------------

Energy::Energy(int32_t x0, int32_t y0)
    : x(x0),
      y(y0),
      vy(-2 * kFixedOne),
      phase(static_cast<uint8_t>(gameRandom().randomNext() % 48)) {}

void Energy::update() {
    const System* sys = systemOf(*this);
    if (!sys) return;
    if (lock > 0) --lock;
    x += vx;
    y += vy;
    if (outsidePickupBounds(x, y)) {
        end();
        return;
    }
    if (!homing && vy < 4 * kFixedOne) vy += 6553;
    // Over both players in order; a later one only when strictly nearer, so at equal distance
    // the energy flies to player 0.
    double nearest = -1;
    for (int index = 0; index < 2; ++index) {
        const PlayerBase* player = pickupTarget(*sys, index);
        if (!player) continue;
        const Reach reach = reachTo(*sys, *player, x, y);
        if (nearest >= 0 && reach.distance >= nearest) continue;
        nearest = reach.distance;
        if (homing) {
            flyAlong(reach, kEnergyHomingSpeed, vx, vy);
        } else if (lock == 0 && reach.distance < 180.0 * kFixedOne) {
            homing = 1;
        }
    }
    phase = static_cast<uint8_t>((phase + 1) % 48);
}

void Energy::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    blitCellCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kEnergy, phase / 8,
                    screenX(*sys, x), screenY(*sys, y), Add);
}

// ---------------------------------------------------------------------------------------------

Crystal::Crystal(int32_t x0, int32_t y0, uint8_t mult, uint8_t crystalSize, int16_t wait)
    : x(x0),
      y(y0),
      vy(-2 * kFixedOne),
      phase(static_cast<uint8_t>(gameRandom().randomNext() & 31)),
      delay(std::max<int16_t>(wait, 0)),
      size(std::clamp<uint8_t>(crystalSize, 1, 3)),
      multiplier(std::clamp<uint8_t>(mult, 1, 3)) {
    const int16_t half = static_cast<int16_t>(15 + 5 * size);
    hitBox = {static_cast<int16_t>(-half), static_cast<int16_t>(-half), half, half};
}

void Crystal::update() {
    const System* sys = systemOf(*this);
    if (!sys) return;
    if (backgroundBound) {
        y += mapSpeed(*sys);
        if (outsidePickupBounds(x, y)) end();
        return;
    }
    // Waiting: neither shown nor moving (though a ship can already take it).
    if (delay > 0) {
        --delay;
        return;
    }
    if (lock > 0) --lock;
    x += vx;
    y += vy;
    if (outsidePickupBounds(x, y)) {
        end();
        return;
    }
    if (homing) {
        double nearest = -1;
        Reach target{};
        for (int index = 0; index < 2; ++index) {
            const PlayerBase* player = pickupTarget(*sys, index);
            if (!player) continue;
            const Reach reach = reachTo(*sys, *player, x, y);
            if (nearest < 0 || reach.distance < nearest) {
                nearest = reach.distance;
                target = reach;
            }
        }
        if (nearest >= 0) flyAlong(target, kCrystalHomingSpeed, vx, vy);
    } else {
        if (vy < 3 * kFixedOne) vy += 3276;
        if (y > fixedFromInt(384)) {
            end();
            return;
        }
        // A ship holding the shot button does not draw falling crystals in.
        if (lock == 0) {
            for (int index = 0; index < 2 && !homing; ++index) {
                const PlayerBase* player = pickupTarget(*sys, index);
                if (!player || (sys->keyRecords[index].buttons & kButtonShot)) continue;
                if (reachTo(*sys, *player, x, y).distance < 280.0 * kFixedOne) homing = 1;
            }
        }
    }
    phase = static_cast<uint8_t>((phase + 1) % 32);
}

void Crystal::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys || delay > 0) return;
    static constexpr const atlas::Cell* kCells[] = {
        &atlas::item::kCrystal1, &atlas::item::kCrystal2, &atlas::item::kCrystal3};
    blitCellCentred(sys->imageSlots[kSlotItem], surface, *kCells[size - 1], phase / 4,
                    screenX(*sys, x), screenY(*sys, y), ColorKey);
}

// ---------------------------------------------------------------------------------------------

void ItemShadowRender::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    forEachInLayer<Item>(*sys, layer::kItem, [&](const Item& item) {
        const ShadowSpot at = airShadowSpot(item.x, item.y);
        blitCellCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kItemShadow, 0,
                        screenX(*sys, fixedFromInt(at.x)), screenY(*sys, fixedFromInt(at.y)),
                        Subtract, 128);
    });
}

}  // namespace vg
