#include "core/GameRandom.h"

namespace vg {
namespace {

constexpr int kMiddle = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

}  // namespace

GameRandom::GameRandom() {
    randomSeed(kDefaultSeed);
}

void GameRandom::randomSeed(uint32_t seed) {
    // Each word takes the high halves of two successive steps of the 69069 congruential
    // generator (the 1998 seeding); unsigned arithmetic gives the mod 2^32 wrap.
    for (uint32_t& word : state_) {
        word = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        word |= seed >> 16;
        seed = 69069u * seed + 1u;
    }
    generate();
}

uint32_t GameRandom::randomNext() {
    if (index_ >= kStateSize) generate();
    return outputs_[index_++];
}

void GameRandom::generate() {
    for (int i = 0; i < kStateSize; ++i) {
        const uint32_t y = (state_[i] & kUpperBit) | (state_[(i + 1) % kStateSize] & kLowerMask);
        state_[i] = state_[(i + kMiddle) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    }
    for (int i = 0; i < kStateSize; ++i) {
        uint32_t y = state_[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        outputs_[i] = y;
    }
    index_ = 0;
}

GameRandom& gameRandom() {
    static GameRandom instance;
    return instance;
}

}  // namespace vg
