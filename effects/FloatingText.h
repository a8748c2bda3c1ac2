#pragma once

#include "effects/Effect.h"

namespace vg {

// The near-kill label of levels 1..4, drifting with the enemy and fading.
class NearKillFont : public Effect {
  public:
    NearKillFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t level);
    void update() override;
    void draw(DIB& surface) override;

    int32_t level;
};

// "x<count>" of the bullets a laser kill turned into crystals, counting up and zooming in.
class ChangeBulletNumFont : public Effect {
  public:
    ChangeBulletNumFont(int32_t x, int32_t y, int32_t count);
    void update() override;
    void draw(DIB& surface) override;

    int32_t count;
};

// The new crystal count shown where a crystal was taken, rising and fading.
class GetCrystalFont : public Effect {
  public:
    GetCrystalFont(int32_t x, int32_t y, int32_t value, int32_t sizeKind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t value;
    int32_t sizeKind;
};

// The label of an item taken (label = item type), drifting and stretching away.
class ItemFont : public Effect {
  public:
    ItemFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t label);
    void update() override;
    void draw(DIB& surface) override;

    int32_t label;
};

}  // namespace vg
