#pragma once

#include <array>
#include <cstdint>

#include "core/Task.h"
#include "screens/PressLatch.h"

namespace vg {

class System;
class TaskManager;

// The ending's conductor (layer 28): fades in from black, scatters ripples over the ground,
// and once finished (ENDING_FINISH, or a button press after its first 64 frames) fades the
// tunes and the picture out and hands over to name entry.
class EndingRunner : public Task {
  public:
    static constexpr int32_t kFadeFrames = 64;

    void update() override;
    // Takes one number from the game's generator per frame, four when a ripple is made.
    void draw(DIB& surface) override;
    // Fades the tunes out and starts the closing fade; again does nothing.
    void finish();

    // The first EndingRunner among layers 0..28, or null.
    static EndingRunner* find(const TaskManager& manager);

    int32_t counter = 0;
    uint8_t finished = 0;
    int32_t closing = 0;
    // Only a new press finishes the ending.
    std::array<PressLatch, 2> latches{};
};

// A picture of the ending image shown at (x, y) for `duration` frames, fading in over the
// first 32 and out over the last 32 (layer 17).
class EndingImage : public Task {
  public:
    EndingImage(int16_t x, int16_t y, int16_t width, int16_t height, int16_t sourceX,
                int16_t sourceY, int16_t duration);
    void update() override;
    void draw(DIB& surface) override;

    int16_t x, y, width, height, sourceX, sourceY, duration;
    int32_t counter = 0;
};

// A caption strip, 256 x 32 from the ending image at (sourceX, sourceY), centred on x and
// rising from y 400 by a pixel a frame until it has left the top (layer 21).
class EndingFont : public Task {
  public:
    static constexpr int32_t kWidth = 256;
    static constexpr int32_t kHeight = 32;

    EndingFont(int16_t x, int16_t sourceX, int16_t sourceY);
    void update() override;
    void draw(DIB& surface) override;

    int16_t x, sourceX, sourceY;
    int32_t y = 400;
};

}  // namespace vg
