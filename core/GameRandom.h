#pragma once

#include <array>
#include <cstdint>

namespace vg {

// The game's one source of randomness: a Mersenne Twister (MT19937) with the 1998 reference
// seeding. Every stage re-seeds it with 4357, so together with the recorded input a stage replays
// exactly; every caller must therefore draw from the shared instance, one draw per expression,
// in a fixed order.
class GameRandom {
  public:
    static constexpr uint32_t kDefaultSeed = 4357;
    static constexpr int kStateSize = 624;

    // Seeded with kDefaultSeed.
    GameRandom();

    void randomSeed(uint32_t seed);
    // The next 32-bit output; callers reduce it themselves (mask or remainder).
    uint32_t randomNext();

    // Position of the next output in the current block, 0..624.
    int32_t index() const { return index_; }

  private:
    // Twists the state and tempers all of it into outputs_; index_ becomes 0.
    void generate();

    int32_t index_ = 0;
    std::array<uint32_t, kStateSize> state_{};
    std::array<uint32_t, kStateSize> outputs_{};
};

// The shared instance, seeded with 4357 on first use.
GameRandom& gameRandom();

}  // namespace vg
