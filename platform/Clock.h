#pragma once

#include <cstdint>

namespace vg {

// Local wall-clock time, as the screenshot name needs it.
struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

// Time sources of the frame pacers and the screenshot name. The game reads time only through
// this seam, so tests drive the pacers with a fake clock.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32.
    virtual uint32_t milliseconds() = 0;
    // High-resolution counter and its ticks per second; a counter that reads 0 means none.
    virtual int64_t counter() = 0;
    virtual int64_t counterFrequency() = 0;
    virtual void sleepMilliseconds(uint32_t ms) = 0;
    virtual LocalTime localTime() = 0;
};

// The real clock over the standard library (steady clock, system clock, thread sleep).
class SystemClock : public Clock {
  public:
    uint32_t milliseconds() override;
    int64_t counter() override;
    int64_t counterFrequency() override;
    void sleepMilliseconds(uint32_t ms) override;
    LocalTime localTime() override;
};

}  // namespace vg
