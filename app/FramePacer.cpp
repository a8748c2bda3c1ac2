#include "app/FramePacer.h"

namespace vg {
namespace {

constexpr int kDefaultRate = 60;
constexpr int64_t kSliceMilliseconds = 200;

// value * mul / div in 64 bits without the intermediate product overflowing: a nanosecond
// counter times a million overflows after about two and a half hours, and times a thousand after
// about a hundred days of uptime. Same result as the plain expression wherever that one fits.
int64_t scaleTicks(int64_t value, int64_t mul, int64_t div) {
    return value / div * mul + value % div * mul / div;
}

}  // namespace

// The millisecond sleep needs no timer-resolution request here: the platform sleep already has
// millisecond granularity.
FPSControl::FPSControl(Clock& clock) : clock_(clock) {}

void FPSControl::setRate(int rate) {
    if (rate < 1) rate = kDefaultRate;
    interval_ = static_cast<uint32_t>(1000 / rate);
}

void FPSControl::waitFrame() {
    // Unsigned arithmetic: the difference stays right across the 2^32 wrap.
    if (clock_.milliseconds() - lastTick_ < interval_) {
        // Each sleep lasts at least a millisecond, so `interval_` sleeps cover the interval even
        // if the clock has stopped moving; the bound keeps a broken clock from hanging the game.
        for (uint32_t sleeps = 0; sleeps < interval_; ++sleeps) {
            // A reading below the last mark means the clock wrapped (or was reset): stop at once
            // rather than wait on a difference that no longer means anything.
            if (clock_.milliseconds() < lastTick_) break;
            clock_.sleepMilliseconds(1);
            if (clock_.milliseconds() - lastTick_ >= interval_) break;
        }
    }
    lastTick_ = clock_.milliseconds();
    countFrame(lastTick_ / kSliceMilliseconds);
}

void FPSControl::countFrame(int64_t slice) {
    int16_t& slot = histogram_[slice & 31];
    slot = static_cast<int16_t>(slot + 1);
    if (slice == lastSlice_) return;
    lastSlice_ = slice;
    int32_t frames = 0;
    for (int back = 1; back <= 5; ++back) frames += histogram_[(slice - back) & 31];
    measuredRate = frames;
    // Clean the slots ahead before they are reused.
    for (int ahead = 1; ahead <= 20; ++ahead) histogram_[(slice + ahead) & 31] = 0;
}

FPSControlEx::FPSControlEx(Clock& clock)
    : FPSControl(clock), frequency_(clock.counterFrequency()), lastCount_(clock.counter()) {}

void FPSControlEx::setRate(int rate) {
    if (rate < 1) rate = kDefaultRate;
    // Also kept by the millisecond pacer this one falls back to without a counter frequency.
    FPSControl::setRate(rate);
    interval_ = static_cast<int64_t>(1000 / rate) * 1000;
    sleepLimit_ = static_cast<int64_t>(static_cast<double>(interval_) * 0.85);
}

int64_t FPSControlEx::elapsedSince(int64_t count) const {
    return scaleTicks(count - lastCount_, 1'000'000, frequency_);
}

void FPSControlEx::waitFrame() {
    if (frequency_ <= 0) {
        FPSControl::waitFrame();
        return;
    }
    int64_t count = clock_.counter();
    int64_t elapsed = elapsedSince(count);
    if (elapsed < sleepLimit_) {
        // Measure, then sleep: the last pass still sleeps once after reaching the limit.
        do {
            count = clock_.counter();
            elapsed = elapsedSince(count);
            clock_.sleepMilliseconds(1);
        } while (elapsed < sleepLimit_);
    }
    // Spin for the rest; the frame starts once the interval is exceeded.
    while (elapsed <= interval_) {
        count = clock_.counter();
        elapsed = elapsedSince(count);
    }
    lastCount_ = count;
    countFrame(scaleTicks(count, 1000, frequency_ * kSliceMilliseconds));
}

}  // namespace vg
