#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/Task.h"

namespace vg {

// The three pickups. The player's collision pass takes them (player/PlayerBase); their motion
// and drawing live here.

// Item types.
enum ItemType : uint8_t {
    kItemPowerUp = 0,
    kItemBomb = 1,
    kItemExtend = 2,
    kItemFullPower = 3,
};

// Power-up, bomb, extra life or full power, on the item layer: bounces inside the view while
// its age is at most 1800, then drifts out. The age advances one per frame (so an item leaves
// after 30 seconds).
class Item : public Task {
  public:
    Item(int32_t x, int32_t y, int32_t vx, int32_t vy, uint8_t type);
    void update() override;
    void draw(DIB& surface) override;

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    HitBox hitBox{-22, -22, 22, 22};
    int16_t age = 0;
    uint8_t type;
    uint8_t animationStep = 0;
};

// Energy for the laser gauge, on the energy layer: rises, falls, then homes on a near player.
class Energy : public Task {
  public:
    Energy(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    int32_t x;
    int32_t y;
    int32_t vx = 0;
    int32_t vy;
    HitBox hitBox{-20, -20, 20, 20};
    uint8_t homing = 0;
    uint8_t lock = 28;
    uint8_t phase = 0;
};

// A crystal made from an enemy bullet, on the crystal layer: waits, then falls and homes on a
// near player that is not holding the shot button.
class Crystal : public Task {
  public:
    // `size` 1..3 and `multiplier` 1..3 (clamped); `delay` frames before it shows or moves.
    Crystal(int32_t x, int32_t y, uint8_t multiplier, uint8_t size, int16_t delay);
    void update() override;
    void draw(DIB& surface) override;

    int32_t x;
    int32_t y;
    int32_t vx = 0;
    int32_t vy;
    HitBox hitBox;
    uint8_t phase = 0;
    uint8_t lock = 12;
    int16_t delay;
    uint8_t homing = 0;
    uint8_t size;
    uint8_t multiplier;
    uint8_t backgroundBound = 0;
};

// Draws the shadow of every item, once per frame, from the shadow layer.
class ItemShadowRender : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
