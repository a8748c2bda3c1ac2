#pragma once

#include <cstdint>

namespace vg {

class System;

// Play code measures positions in signed 16.16 pixels and speeds in 16.16 pixels per frame.
inline constexpr int32_t kFixedOne = 65536;

constexpr int32_t fixedFromInt(int32_t pixels) {
    return static_cast<int32_t>(static_cast<uint32_t>(pixels) << 16);
}
// The whole-pixel part of a 16.16 value (arithmetic shift: rounds toward minus infinity). Every
// "integer position" of the play code is this.
constexpr int32_t fixedToInt(int32_t value) {
    return value >> 16;
}
// Product of two 16.16 values, formed in 64 bits and shifted right by 16.
constexpr int32_t fixedMul(int32_t a, int32_t b) {
    return static_cast<int32_t>((static_cast<int64_t>(a) * b) >> 16);
}

// A collision rectangle: four offsets in whole pixels from an object's integer position.
struct HitBox {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;

    constexpr HitBox grown(int16_t by) const {
        return {static_cast<int16_t>(left - by), static_cast<int16_t>(top - by),
                static_cast<int16_t>(right + by), static_cast<int16_t>(bottom + by)};
    }
};

// Two rectangles at integer positions meet when each one's left is below the other's right and
// each one's top below the other's bottom; every comparison is strict, so touching edges miss.
constexpr bool boxesMeet(int32_t ax, int32_t ay, const HitBox& a, int32_t bx, int32_t by,
                         const HitBox& b) {
    return ax + a.left < bx + b.right && bx + b.left < ax + a.right && ay + a.top < by + b.bottom &&
           by + b.top < ay + a.bottom;
}

// The field is 32 pixels wider than the view and scrolls sideways with the ships. Screen
// (play-field surface) position of a field point, in whole pixels, with the screen shake.
int32_t screenX(const System& system, int32_t fieldX);
int32_t screenY(const System& system, int32_t fieldY);
// Field x, in whole pixels, of a view x (16.16): the ships live in view coordinates.
int32_t fieldXOfView(const System& system, int32_t viewX);

}  // namespace vg
