#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/FramePacer.h"
#include "platform/Clock.h"

namespace vg {
namespace {

// Time moves only when the pacer sleeps, when a test says so, or by one microsecond per read of
// the high-resolution counter (the cost of a spin). The millisecond clock is the same time, offset
// by `millisecondBase` so tests can put it near its wrap.
class FakeClock : public Clock {
  public:
    static constexpr int64_t kFrequency = 1'000'000'000;

    uint32_t milliseconds() override {
        return static_cast<uint32_t>(millisecondBase + static_cast<uint64_t>(nanos / 1'000'000));
    }
    int64_t counter() override {
        nanos += counterReadNanos;
        return nanos;
    }
    int64_t counterFrequency() override { return kFrequency; }
    void sleepMilliseconds(uint32_t ms) override {
        ++sleeps;
        if (sleepMoves) nanos += static_cast<int64_t>(ms) * 1'000'000;
    }
    LocalTime localTime() override { return {}; }

    void advanceMilliseconds(int64_t ms) { nanos += ms * 1'000'000; }
    double nowMilliseconds() const { return nanos / 1e6; }

    // Start well away from 0, as a clock counting since boot would.
    int64_t nanos = 123'456'789'000'000;
    uint32_t millisecondBase = 0;
    int64_t counterReadNanos = 1000;
    bool sleepMoves = true;
    int sleeps = 0;
};

// Runs `frames` frames that take no time and returns the measured rate after each one, together
// with the clock at each frame mark.
struct FrameLog {
    std::vector<int32_t> rates;
    std::vector<double> marks;
};
FrameLog runFrames(FPSControl& pacer, FakeClock& clock, int frames) {
    FrameLog run;
    for (int i = 0; i < frames; ++i) {
        pacer.waitFrame();
        run.rates.push_back(pacer.measuredRate);
        run.marks.push_back(clock.nowMilliseconds());
    }
    return run;
}

void expectRateSettlesAt62(const FrameLog& run) {
    // Nothing is counted for the first frame; the count then grows by one 200 ms slice at a time
    // over the first second and holds at 62 or 63 (1000 / 16 = 62.5).
    EXPECT_EQ(run.rates[0], 0);
    for (size_t i = 1; i < run.rates.size(); ++i) {
        ASSERT_GE(run.rates[i], run.rates[i - 1] - 1) << i;
        ASSERT_LE(run.rates[i], 63) << i;
    }
    for (size_t i = 0; i < run.rates.size(); ++i) {
        if (run.marks[i] - run.marks[0] < 1250.0) continue;
        ASSERT_GE(run.rates[i], 62) << i;
    }
}

TEST(FPSControlTest, MeasuredRateSettlesAt62AtRate60) {
    FakeClock clock;
    clock.counterReadNanos = 0;
    FPSControl pacer(clock);
    pacer.setRate(60);
    const FrameLog run = runFrames(pacer, clock, 200);
    expectRateSettlesAt62(run);
    // Frames shorter than a millisecond are paced too: every mark is one interval after the last.
    for (size_t i = 1; i < run.marks.size(); ++i) ASSERT_EQ(run.marks[i] - run.marks[i - 1], 16.0);
}

TEST(FPSControlExTest, MeasuredRateSettlesAt62AtRate60) {
    FakeClock clock;
    FPSControlEx pacer(clock);
    pacer.setRate(60);
    pacer.waitFrame();
    clock.sleeps = 0;
    const FrameLog run = runFrames(pacer, clock, 200);
    expectRateSettlesAt62(run);
    for (size_t i = 1; i < run.marks.size(); ++i) {
        const double period = run.marks[i] - run.marks[i - 1];
        ASSERT_GT(period, 16.0);
        ASSERT_LT(period, 16.01);
    }
    // It sleeps in 1 ms steps until a measure reaches 85 % of the interval (13.6 ms; measures at
    // 0..14 ms, each followed by a sleep) and spins only for the last millisecond.
    EXPECT_EQ(clock.sleeps, 200 * 15);
}

// A slow frame is followed by a frame with no wait, and the frame after it gets the full
// interval again: lost time is not made up.
template <typename Pacer>
void expectSlowFrameNotMadeUp(FakeClock& clock) {
    Pacer pacer(clock);
    pacer.setRate(60);
    runFrames(pacer, clock, 10);
    clock.advanceMilliseconds(40);
    clock.sleeps = 0;
    const double before = clock.nowMilliseconds();
    pacer.waitFrame();
    EXPECT_EQ(clock.sleeps, 0);
    EXPECT_LT(clock.nowMilliseconds() - before, 0.01);
    const FrameLog run = runFrames(pacer, clock, 3);
    EXPECT_GE(run.marks[0] - before, 16.0);
    EXPECT_LT(run.marks[0] - before, 16.01);
    EXPECT_GE(run.marks[1] - run.marks[0], 16.0);
}

TEST(FPSControlTest, SlowFrameIsFollowedByNoWaitAndNothingIsMadeUp) {
    FakeClock clock;
    clock.counterReadNanos = 0;
    expectSlowFrameNotMadeUp<FPSControl>(clock);
}

TEST(FPSControlExTest, SlowFrameIsFollowedByNoWaitAndNothingIsMadeUp) {
    FakeClock clock;
    expectSlowFrameNotMadeUp<FPSControlEx>(clock);
}

TEST(FPSControlTest, WrappingClockEndsTheWait) {
    FakeClock clock;
    clock.counterReadNanos = 0;
    // Put the millisecond clock 6 ms before its wrap at the frame mark.
    clock.millisecondBase = 0xFFFFFFFAu - static_cast<uint32_t>(clock.nanos / 1'000'000);
    FPSControl pacer(clock);
    pacer.setRate(60);
    pacer.waitFrame();
    ASSERT_EQ(clock.milliseconds(), 0xFFFFFFFAu);
    // 8 ms of frame: the clock reads 2 and the wait ends at once.
    clock.advanceMilliseconds(8);
    clock.sleeps = 0;
    pacer.waitFrame();
    EXPECT_EQ(clock.sleeps, 0);
    // A wrap during the wait ends it too, after the sleep that crossed it.
    clock.millisecondBase -= 4;  // mark at 0xFFFFFFFE
    pacer.waitFrame();
    clock.sleeps = 0;
    pacer.waitFrame();
    EXPECT_LE(clock.sleeps, 3);
    EXPECT_GT(clock.sleeps, 0);
}

TEST(FPSControlTest, StoppedClockDoesNotHang) {
    FakeClock clock;
    clock.counterReadNanos = 0;
    FPSControl pacer(clock);
    pacer.setRate(60);
    pacer.waitFrame();
    clock.sleepMoves = false;
    clock.sleeps = 0;
    pacer.waitFrame();
    EXPECT_EQ(clock.sleeps, 16);
}

TEST(FramePacerTest, RatesGiveTruncatedIntervals) {
    FakeClock clock;
    FPSControl milli(clock);
    EXPECT_EQ(milli.intervalMilliseconds(), 16u);
    FPSControlEx high(clock);
    EXPECT_EQ(high.intervalMicroseconds(), 0);
    struct Case {
        int rate;
        uint32_t ms;
        int64_t us, limit;
    };
    // A negative rate counts as 60 on the high-resolution pacer; so does 0, and on both pacers,
    // rather than dividing by zero or waiting for days.
    for (const Case& c :
         {Case{60, 16, 16000, 13600}, Case{40, 25, 25000, 21250}, Case{300, 3, 3000, 2550},
          Case{-5, 16, 16000, 13600}, Case{0, 16, 16000, 13600}, Case{2000, 0, 0, 0}}) {
        milli.setRate(c.rate);
        high.setRate(c.rate);
        EXPECT_EQ(milli.intervalMilliseconds(), c.ms) << c.rate;
        EXPECT_EQ(high.intervalMicroseconds(), c.us) << c.rate;
        EXPECT_EQ(high.sleepLimitMicroseconds(), c.limit) << c.rate;
    }
}

TEST(FPSControlExTest, LongPauseAndLongUptimeNeitherHangNorMiscount) {
    FakeClock clock;
    // 200 days since boot in nanoseconds: counter * 1000 no longer fits 64 bits.
    clock.nanos = 200LL * 86400 * 1'000'000'000;
    FPSControlEx pacer(clock);
    pacer.setRate(60);
    expectRateSettlesAt62(runFrames(pacer, clock, 100));
    // Three hours away from the game (an inactive window does not wait for frames): elapsed
    // * 1 000 000 no longer fits either. The next frame starts at once.
    clock.advanceMilliseconds(3LL * 3600 * 1000);
    clock.sleeps = 0;
    pacer.waitFrame();
    EXPECT_EQ(clock.sleeps, 0);
    const FrameLog after = runFrames(pacer, clock, 100);
    EXPECT_GE(after.rates.back(), 62);
    EXPECT_LE(after.rates.back(), 63);
}

TEST(FPSControlExTest, WithoutCounterFrequencyFallsBackToMilliseconds) {
    class NoFrequencyClock : public FakeClock {
      public:
        int64_t counterFrequency() override { return 0; }
    } clock;
    clock.counterReadNanos = 0;
    FPSControlEx pacer(clock);
    pacer.setRate(60);
    const FrameLog run = runFrames(pacer, clock, 100);
    for (size_t i = 1; i < run.marks.size(); ++i) ASSERT_EQ(run.marks[i] - run.marks[i - 1], 16.0);
}

}  // namespace
}  // namespace vg
