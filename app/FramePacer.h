#pragma once

#include <array>
#include <cstdint>

#include "platform/Clock.h"

namespace vg {

// Holds each frame to the target rate and counts the frames run in the last second. It never
// skips frames: after a frame longer than the interval the next wait ends at once, and the time
// lost is never made up. This one paces with the millisecond clock.
class FPSControl {
  public:
    explicit FPSControl(Clock& clock);
    FPSControl(const FPSControl&) = delete;
    FPSControl& operator=(const FPSControl&) = delete;
    virtual ~FPSControl() = default;

    // interval = 1000 / rate whole milliseconds (60 -> 16 ms, so 62.5 frames a second). A rate
    // below 1 is taken as 60.
    virtual void setRate(int rate);
    // Returns when the next frame may start, and counts the frame.
    virtual void waitFrame();

    uint32_t intervalMilliseconds() const { return interval_; }

    // Frames counted in the last five whole 200 ms slices of the clock; 0 at start. Read by the
    // rate display.
    int32_t measuredRate = 0;

  protected:
    // Counts a frame in the 200 ms slice `slice` (clock time / 200, not reduced) and, on entering
    // a new slice, sums the five before it into measuredRate.
    void countFrame(int64_t slice);

    Clock& clock_;

  private:
    std::array<int16_t, 32> histogram_{};
    int64_t lastSlice_ = 0;
    uint32_t interval_ = 16;
    uint32_t lastTick_ = 0;
};

// The high-resolution pacer: sleeps in 1 ms steps until 85 % of the interval has passed, then
// spins on the counter, so the frame starts well within a millisecond of its time without
// burning the processor for the whole interval.
class FPSControlEx : public FPSControl {
  public:
    explicit FPSControlEx(Clock& clock);

    // interval = (1000 / rate) * 1000 microseconds (the same whole-millisecond truncation);
    // sleep limit = 85 % of it. A rate below 1 is taken as 60.
    void setRate(int rate) override;
    void waitFrame() override;

    int64_t intervalMicroseconds() const { return interval_; }
    int64_t sleepLimitMicroseconds() const { return sleepLimit_; }

  private:
    // Microseconds from the last frame mark to `count`.
    int64_t elapsedSince(int64_t count) const;

    int64_t frequency_ = 0;
    int64_t lastCount_ = 0;
    int64_t interval_ = 0;
    int64_t sleepLimit_ = 0;
};

}  // namespace vg
