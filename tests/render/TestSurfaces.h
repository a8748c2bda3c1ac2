#pragma once

#include <cstdint>
#include <string>

#include "resources/DIB.h"

namespace vg::testing {

// A small deterministic generator for test pictures (not the game's random generator).
class TestRandom {
  public:
    explicit TestRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 16);
    }
    int32_t range(int32_t lo, int32_t hi) {  // inclusive
        return lo + static_cast<int32_t>(next() % static_cast<uint32_t>(hi - lo + 1));
    }

  private:
    uint64_t state_;
};

// A picture whose top-left pixel (the key colour) also appears often elsewhere, sometimes with a
// different high byte, among random colours and random high bytes.
inline void fillPicture(DIB& image, TestRandom& random) {
    const uint32_t key = random.next();
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t roll = random.next() % 4;
            uint32_t value = random.next();
            if (roll == 0) value = (key & 0x00FFFFFFu) | (random.next() << 24);
            *image.pixelAt(x, y) = value;
        }
    }
    *image.pixelAt(0, 0) = key;
}

inline void copyPicture(const DIB& from, DIB& to) {
    to.create(from.width, from.height);
    for (int32_t i = 0; i < from.width * from.height; ++i) to.pixels[i] = from.pixels[i];
}

inline std::string hex(uint32_t v) {
    char text[16];
    snprintf(text, sizeof text, "0x%02X", v);
    return text;
}

}  // namespace vg::testing
