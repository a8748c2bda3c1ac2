#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// The things that lie on or float over the scrolling map. Positions are 16.16 field pixels.

// A piece of scenery cut from the stage image (a bridge, a hangar, trees), riding the map
// downward; drawn at its top-left corner. Layer 5 under the middle ground units, 9 over them.
class BackObject : public Task {
  public:
    BackObject(int32_t x, int32_t y, int16_t width, int16_t height, int16_t sourceX,
               int16_t sourceY);
    void update() override;
    void draw(DIB& surface) override;

    int32_t x;
    int32_t y;
    int16_t width;
    int16_t height;
    int16_t sourceX;
    int16_t sourceY;
};

// A cloud drifting across the field, stretched to twice its picture. Kinds 0..2 are opaque,
// 3..5 the same pictures translucent; any other kind draws nothing.
class Cloud : public Task {
  public:
    // `direction` in 16.16 degrees, `speed` in 16.16 pixels per frame.
    Cloud(int32_t x, int32_t y, int32_t direction, int32_t speed, int16_t kind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    int16_t kind;
};

// A bank of cloud drawn unscaled from the square pictures of the enemy sheet; kinds as Cloud.
class CloudEx : public Cloud {
  public:
    using Cloud::Cloud;
    void update() override;
    void draw(DIB& surface) override;
};

// A ground target that pays for hovering over it: each frame every ship over it adds one to its
// fill count (1800 points each) until the count reaches its size; then every present player
// gets the fill bonus once, and from then on every fourth frame each enemy bullet over it makes
// a crystal appear there. Its ring of dots shows how full it is.
class Hole : public Task {
  public:
    static constexpr int32_t kFillScore = 1800;
    static constexpr int32_t kFillBonus = 500000;
    static constexpr int32_t kHalfSize = 20;

    // `followsMap`: moves with the map scroll (HOLE); otherwise at its own `speed` (HOLE_MOVE).
    Hole(int32_t x, int32_t y, int32_t speed, int16_t size, bool followsMap);
    void update() override;
    void draw(DIB& surface) override;

    // One frame's fill step or, once filled, the bullet check.
    void check(System& system);
    bool filled() const { return fillCount >= fillTarget; }

    // Fields in their order.
    int32_t x;
    int32_t y;
    int32_t speed;
    int16_t frameCounter = 0;
    int16_t fillCount = 0;
    int16_t fillTarget;
    int16_t rotation = 0;
    uint8_t absorbed = 0;
    uint8_t followsMap;

  private:
    // The fill bonus for every present player, a ring and the ok sound.
    void payBonus(System& system);
};

}  // namespace vg
