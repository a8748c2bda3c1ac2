// Stand-in for the pickup motion and drawing, owned by the enemies-and-pickups work, which
// replaces this file.
#include "player/Pickups.h"

#include <algorithm>

namespace vg {

Item::Item(int32_t x0, int32_t y0, int32_t vx0, int32_t vy0, uint8_t itemType)
    : x(x0), y(y0), vx(vx0), vy(vy0), type(itemType) {}
void Item::update() {
    x += vx;
    y += vy;
}
void Item::draw(DIB&) {}

Energy::Energy(int32_t x0, int32_t y0) : x(x0), y(y0), vy(-2 * kFixedOne) {}
void Energy::update() {
    x += vx;
    y += vy;
}
void Energy::draw(DIB&) {}

Crystal::Crystal(int32_t x0, int32_t y0, uint8_t mult, uint8_t crystalSize, int16_t wait)
    : x(x0),
      y(y0),
      vy(-2 * kFixedOne),
      delay(wait),
      size(std::clamp<uint8_t>(crystalSize, 1, 3)),
      multiplier(std::clamp<uint8_t>(mult, 1, 3)) {
    const int16_t half = static_cast<int16_t>(15 + 5 * size);
    hitBox = {static_cast<int16_t>(-half), static_cast<int16_t>(-half), half, half};
}
void Crystal::update() {
    x += vx;
    y += vy;
}
void Crystal::draw(DIB&) {}

void ItemShadowRender::draw(DIB&) {}

}  // namespace vg
