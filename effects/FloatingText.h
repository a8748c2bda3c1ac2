#pragma once

#include "effects/Effect.h"

namespace vg {

// The near-kill label of levels 1..4, drifting with the enemy and fading from its 32nd frame;
// other levels draw nothing.
class NearKillFont : public Effect {
  public:
    static constexpr int32_t kLifetime = 48;
    static constexpr int32_t kDrag = 58982;

    NearKillFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t level);
    void update() override;
    void draw(DIB& surface) override;

    static uint32_t alphaAt(int32_t age);

    int32_t level;
};

// "x<count>" of the bullets a laser kill turned into crystals, counting up and zooming in; a
// count of 0 or less ends it in its first update.
class ChangeBulletNumFont : public Effect {
  public:
    static constexpr int32_t kLifetime = 180;
    static constexpr int32_t kCountUpFrames = 45;
    static constexpr int32_t kFadeStart = 148;
    static constexpr uint32_t kColour = 0xFFFF00;

    ChangeBulletNumFont(int32_t x, int32_t y, int32_t count);
    void update() override;
    void draw(DIB& surface) override;

    // The number shown at `age`: counts up from 0 to `count` over 45 frames.
    int64_t shownValue() const;
    static uint32_t alphaAt(int32_t age);

    int32_t count;
};

// The new crystal count shown where a crystal was taken, rising and fading. Size kind 2 and 3
// use the larger digits; a value of 0 or less draws nothing.
class GetCrystalFont : public Effect {
  public:
    static constexpr int32_t kLifetime = 64;

    GetCrystalFont(int32_t x, int32_t y, int32_t value, int32_t sizeKind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t value;
    int32_t sizeKind;
};

// The label of an item taken (label = item type 0..3), drifting, then stretching away from its
// 30th frame; other labels draw nothing.
class ItemFont : public Effect {
  public:
    static constexpr int32_t kLifetime = 60;
    static constexpr int32_t kDrag = 64225;
    static constexpr int32_t kStretchStart = 30;

    ItemFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t label);
    void update() override;
    void draw(DIB& surface) override;

    int32_t label;
};

}  // namespace vg
