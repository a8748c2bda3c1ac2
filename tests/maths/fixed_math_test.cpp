#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/FixedMath.h"

namespace vg {
namespace {

constexpr int32_t kDegree = 65536;

TEST(FixedMathTest, TablesHoldTheirExactEntries) {
    const auto& sine = sineTable();
    const auto& atan = atanTable();
    EXPECT_EQ(sine[0], 0);
    // pi = 3.141592 leaves the quarter-turn entry just below 2^24.
    EXPECT_EQ(sine[512], 16777215);
    EXPECT_EQ(sine[256], 11863281);
    EXPECT_EQ(atan[0], 0);
    EXPECT_EQ(atan[1], 14667);
    EXPECT_EQ(atan[255], 2941772);
    for (size_t i = 1; i < sine.size(); ++i) ASSERT_GT(sine[i], sine[i - 1]) << i;
    for (size_t i = 1; i < atan.size(); ++i) ASSERT_GT(atan[i], atan[i - 1]) << i;
    // Every entry, pinned: a different maths library rounding one entry differently would make
    // replays diverge.
    uint32_t hash = 2166136261u;
    for (int32_t v : sine) hash = (hash ^ static_cast<uint32_t>(v)) * 16777619u;
    for (int32_t v : atan) hash = (hash ^ static_cast<uint32_t>(v)) * 16777619u;
    EXPECT_EQ(hash, 2610379394u);
}

TEST(FixedMathTest, SineAndCosineAtTheQuarterTurns) {
    EXPECT_EQ(sinFixed(0), 0);
    EXPECT_EQ(sinFixed(90 * kDegree), 65535);
    EXPECT_EQ(sinFixed(180 * kDegree), 0);
    // The negative table end shifts down to -65536 (arithmetic shift).
    EXPECT_EQ(sinFixed(270 * kDegree), -65536);
    EXPECT_EQ(cosFixed(0), 65535);
    EXPECT_EQ(cosFixed(90 * kDegree), 0);
    EXPECT_EQ(cosFixed(180 * kDegree), -65536);
    EXPECT_EQ(cosFixed(270 * kDegree), 0);
    EXPECT_DOUBLE_EQ(sinDouble(90.0), 16777215.0 / 16777216.0);
    EXPECT_DOUBLE_EQ(cosDouble(0.0), 16777215.0 / 16777216.0);
    EXPECT_DOUBLE_EQ(cosDouble(180.0), -16777215.0 / 16777216.0);
}

TEST(FixedMathTest, NegativeAnglesWrapThroughTheIndex) {
    EXPECT_EQ(sinFixed(-90 * kDegree), sinFixed(270 * kDegree));
    EXPECT_EQ(cosFixed(-90 * kDegree), cosFixed(270 * kDegree));
    for (int deg = -720; deg <= 720; deg += 7) {
        const int32_t wrapped = ((deg % 360) + 360) % 360;
        EXPECT_EQ(sinFixed(deg * kDegree), sinFixed(wrapped * kDegree)) << deg;
        EXPECT_EQ(cosFixed(deg * kDegree), cosFixed(wrapped * kDegree)) << deg;
        EXPECT_EQ(sinDouble(deg), sinDouble(wrapped)) << deg;
    }
}

TEST(FixedMathTest, AnglesRoundToTheNearestOf2048Steps) {
    // Half a step is 360 / 4096 = 0.0879 degrees.
    const int32_t firstStep = sineTable()[1] >> 8;
    EXPECT_EQ(sinFixed(static_cast<int32_t>(0.08 * kDegree)), 0);
    EXPECT_EQ(sinFixed(static_cast<int32_t>(0.10 * kDegree)), firstStep);
    EXPECT_EQ(sinFixed(static_cast<int32_t>(-0.08 * kDegree)), 0);
    EXPECT_EQ(sinDouble(0.10), sineTable()[1] / 16777216.0);
    // Within one step of the true value everywhere (a step moves sine by at most 0.0031).
    for (int32_t angle = -400 * kDegree; angle < 400 * kDegree; angle += 9973) {
        const double radians = angle / 65536.0 * M_PI / 180.0;
        ASSERT_NEAR(sinFixed(angle), std::sin(radians) * 65536.0, 110.0) << angle;
        ASSERT_NEAR(cosFixed(angle), std::cos(radians) * 65536.0, 110.0) << angle;
        ASSERT_NEAR(sinDouble(angle / 65536.0), std::sin(radians), 0.0017) << angle;
        ASSERT_NEAR(cosDouble(angle / 65536.0), std::cos(radians), 0.0017) << angle;
    }
}

TEST(FixedMathTest, DoubleAnglesOutsideTheFixedRangeStayDefined) {
    // 1e12 degrees does not fit 16.16; it is reduced by whole turns first.
    EXPECT_EQ(sinDouble(1e12), sinDouble(std::fmod(1e12, 360.0)));
    EXPECT_EQ(cosDouble(-1e12), cosDouble(std::fmod(-1e12, 360.0)));
    EXPECT_EQ(sinDouble(std::nan("")), 0.0);
    EXPECT_EQ(sinDouble(std::numeric_limits<double>::infinity()), 0.0);
}

TEST(FixedMathTest, ArcTangentOnAxesAndDiagonals) {
    EXPECT_EQ(atan2Fixed(0, 0), 45 * kDegree);
    EXPECT_EQ(atan2Fixed(5 * kDegree, 0), 90 * kDegree - atanTable()[0]);
    EXPECT_EQ(atan2Fixed(5 * kDegree, 0), 90 * kDegree);
    EXPECT_EQ(atan2Fixed(0, -5 * kDegree), 180 * kDegree);
    EXPECT_EQ(atan2Fixed(-5 * kDegree, 0), -90 * kDegree);
    EXPECT_EQ(atan2Fixed(0, 5 * kDegree), 0);
    // A multiple of 256: -d then cuts to exactly minus what d cuts to.
    const int32_t d = 3 * 65536 + 512;
    EXPECT_EQ(atan2Fixed(d, d), 45 * kDegree);
    EXPECT_EQ(atan2Fixed(d, -d), 135 * kDegree);
    EXPECT_EQ(atan2Fixed(-d, -d), -135 * kDegree);
    EXPECT_EQ(atan2Fixed(-d, d), -45 * kDegree);
}

TEST(FixedMathTest, ArcTangentDropsComponentsBelowOne256thOfAPixel) {
    // Both vanish: the equal-arguments case.
    EXPECT_EQ(atan2Fixed(255, 100), 45 * kDegree);
    EXPECT_EQ(atan2Fixed(255, 65536), 0);
    EXPECT_EQ(atan2Fixed(255, -65536), 180 * kDegree);
    EXPECT_EQ(atan2Fixed(65536, 255), 90 * kDegree);
    EXPECT_EQ(atan2Double(0.5 / 256.0, 0.9 / 256.0), 45.0);
    // 256 is the smallest component that counts.
    EXPECT_EQ(atan2Fixed(256, 65536), atanTable()[1]);
}

TEST(FixedMathTest, ArcTangentFollowsTheTrueAngle) {
    // Multiples of 256, so the double form cuts to the same 24.8 values as the shift.
    for (int32_t dy = -200 * 65536; dy <= 200 * 65536; dy += 1234432) {
        for (int32_t dx = -200 * 65536; dx <= 200 * 65536; dx += 1345536) {
            const int32_t angle = atan2Fixed(dy, dx);
            ASSERT_GE(angle, -180 * kDegree);
            ASSERT_LE(angle, 180 * kDegree);
            double expected = std::atan2(static_cast<double>(dy), dx) * 180.0 / M_PI;
            double diff = angle / 65536.0 - expected;
            if (diff > 180.0) diff -= 360.0;
            if (diff < -180.0) diff += 360.0;
            // A table step (0.224 degrees) plus the truncated reciprocal of the divide.
            ASSERT_LT(std::fabs(diff), 0.4) << dy << ", " << dx;
            const double viaDouble = atan2Double(dy / 65536.0, dx / 65536.0);
            ASSERT_EQ(viaDouble, angle / 65536.0) << dy << ", " << dx;
        }
    }
}

TEST(FixedMathTest, ArcTangentOfHugeOrInvalidDoublesStaysDefined) {
    EXPECT_EQ(atan2Double(1e300, 1e300), 45.0);
    EXPECT_EQ(atan2Double(1e12, -1e12), 135.0);
    EXPECT_NEAR(atan2Double(3e15, 4e15), std::atan2(3.0, 4.0) * 180.0 / M_PI, 0.3);
    // Beyond the 16.16 range the direction is kept.
    EXPECT_NEAR(atan2Double(40000.0, 50000.0), std::atan2(4.0, 5.0) * 180.0 / M_PI, 0.3);
    EXPECT_NEAR(atan2Double(-7e6, 1e6), std::atan2(-7.0, 1.0) * 180.0 / M_PI, 0.3);
    EXPECT_EQ(atan2Double(std::numeric_limits<double>::infinity(), 1.0), 90.0);
    EXPECT_EQ(atan2Double(std::nan(""), std::nan("")), 45.0);
}

TEST(FixedMathTest, FixedDivide) {
    EXPECT_EQ(fixedDiv(1 << 16, 2 << 16), 32768);
    EXPECT_EQ(fixedDiv(-3 << 16, 2 << 16), -98304);
    // Truncated toward zero.
    EXPECT_EQ(fixedDiv(-1, 3), -21845);
    EXPECT_EQ(fixedDiv(1, 3), 21845);
    // The 64-bit quotient is cut to its low 32 bits.
    EXPECT_EQ(fixedDiv(std::numeric_limits<int32_t>::max(), 1), -65536);
    // Division by zero saturates instead of trapping.
    EXPECT_EQ(fixedDiv(5, 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(fixedDiv(-5, 0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(fixedDiv(0, 0), 0);
}

TEST(FixedMathTest, NormalizeAngle) {
    EXPECT_DOUBLE_EQ(normalizeAngle(-90.0), 270.0);
    EXPECT_DOUBLE_EQ(normalizeAngle(720.0), 0.0);
    EXPECT_DOUBLE_EQ(normalizeAngle(-360.0), 0.0);
    EXPECT_DOUBLE_EQ(normalizeAngle(359.5), 359.5);
    EXPECT_DOUBLE_EQ(normalizeAngle(-1000.0), 80.0);
    EXPECT_DOUBLE_EQ(normalizeAngle(1000.0), 280.0);
    EXPECT_DOUBLE_EQ(normalizeAngle(-1200.0), 240.0);
}

TEST(FixedMathTest, TurnTowardTakesTheShortWay) {
    EXPECT_DOUBLE_EQ(turnToward(10.0, 350.0, 5.0), 355.0);
    EXPECT_DOUBLE_EQ(turnToward(350.0, 10.0, 5.0), 5.0);
    EXPECT_DOUBLE_EQ(turnToward(10.0, 8.0, 5.0), 10.0);
    EXPECT_DOUBLE_EQ(turnToward(100.0, 0.0, 30.0), 30.0);
    EXPECT_DOUBLE_EQ(turnToward(-90.0, 0.0, 30.0), 330.0);
    EXPECT_DOUBLE_EQ(turnToward(370.0, -5.0, 20.0), 10.0);
    // Within the step the result is the normalised target.
    EXPECT_DOUBLE_EQ(turnToward(-3.0, 2.0, 5.0), 357.0);
}

}  // namespace
}  // namespace vg
