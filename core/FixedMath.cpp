#include "core/FixedMath.h"

#include <cmath>
#include <limits>

#include "core/GameRandom.h"

namespace vg {
namespace {

// The game's value of pi, kept short on purpose: the tables (and so every replay) depend on it.
constexpr double kPi = 3.141592;
// 2048 / 360 in 16.16: degrees to table steps.
constexpr int64_t kStepsPerDegree = 372827;
constexpr int32_t k45Degrees = 0x2D0000;
constexpr int32_t k90Degrees = 0x5A0000;
constexpr int32_t k180Degrees = 0xB40000;

struct Tables {
    std::array<int32_t, 513> sine{};
    std::array<int32_t, 256> atan{};
};

// Runs once, on the first use of any operation here: the shared generator is seeded (with
// 4357), then the sine table, then the arc-tangent table are made.
Tables buildTables() {
    (void)gameRandom();
    Tables tables;
    for (int i = 0; i <= 512; ++i) {
        const double radians = i * 90.0 / 512.0 * kPi / 180.0;
        tables.sine[i] = static_cast<int32_t>(std::sin(radians) * 16777216.0);
    }
    for (int i = 0; i < 256; ++i) {
        tables.atan[i] = static_cast<int32_t>(std::atan(i / 256.0) * 180.0 / kPi * 65536.0);
    }
    return tables;
}

const Tables& tables() {
    static const Tables built = buildTables();
    return built;
}

// Rounds a 16.16 angle to the nearest of 2048 steps per turn (64-bit product, arithmetic
// shifts); only the low 11 bits of the result matter.
int32_t tableIndex(int32_t angle) {
    const int64_t steps = (static_cast<int64_t>(angle) * kStepsPerDegree) >> 16;
    return static_cast<int32_t>((steps + 32768) >> 16);
}

// Sine of a table step as 8.24, from the quarter-wave table.
int32_t quarterWave(int32_t index) {
    const auto& table = sineTable();
    const int32_t i = index & 2047;
    if (i <= 512) return table[i];
    if (i <= 1024) return table[1024 - i];
    const int32_t j = 2048 - i;
    return j <= 512 ? -table[j] : -table[1024 - j];
}

// Degrees to 16.16 by truncation. An angle beyond the 16.16 range (about +-32768 degrees) is
// first reduced by whole turns, and NaN counts as 0, so the conversion is always defined.
int32_t degreesToFixed(double degrees) {
    if (std::isnan(degrees)) return 0;
    double scaled = degrees * 65536.0;
    if (!(std::fabs(scaled) < 2147483647.0)) scaled = std::fmod(degrees, 360.0) * 65536.0;
    if (std::isnan(scaled)) return 0;
    return static_cast<int32_t>(scaled);
}

// The angle of (a, b) with 0 <= both, in the first octant's terms: a is along the axis the
// angle is measured from.
int32_t octantAngle(int32_t a, int32_t b) {
    const auto& table = atanTable();
    if (a == b) return k45Degrees;
    if (b > a) return k90Degrees - table[((16777216 / b) * static_cast<int64_t>(a)) >> 16];
    if (a == 0) return 0;
    return table[((16777216 / a) * static_cast<int64_t>(b)) >> 16];
}

// Arc tangent of 24.8 components, each of magnitude at most 2^23.
int32_t atan2Raw(int32_t y, int32_t x) {
    if (y >= 0) {
        if (x >= 0) return octantAngle(x, y);
        return octantAngle(y, -x) + k90Degrees;
    }
    if (x <= 0) return octantAngle(-x, -y) - k180Degrees;
    return octantAngle(-y, x) - k90Degrees;
}

}  // namespace

const std::array<int32_t, 513>& sineTable() {
    return tables().sine;
}

const std::array<int32_t, 256>& atanTable() {
    return tables().atan;
}

int32_t sinFixed(int32_t angle) {
    return quarterWave(tableIndex(angle)) >> 8;
}

// The sine a quarter turn back, negated (negated before the shift, so it rounds down).
int32_t cosFixed(int32_t angle) {
    return -quarterWave(tableIndex(angle) - 512) >> 8;
}

double sinDouble(double degrees) {
    return quarterWave(tableIndex(degreesToFixed(degrees))) * (1.0 / 16777216.0);
}

double cosDouble(double degrees) {
    return -quarterWave(tableIndex(degreesToFixed(degrees)) - 512) * (1.0 / 16777216.0);
}

int32_t atan2Fixed(int32_t dy, int32_t dx) {
    return atan2Raw(dy >> 8, dx >> 8);
}

double atan2Double(double dy, double dx) {
    // Components are cut to 24.8 integers. Those a 16.16 value could not hold (32768 pixels and
    // more, infinite ones included) would overflow the cut, so both are scaled down together by
    // a power of two, into 128..256 pixels where the divide keeps its precision: the direction
    // is what counts.
    if (std::isnan(dy)) dy = 0.0;
    if (std::isnan(dx)) dx = 0.0;
    if (std::isinf(dy) || std::isinf(dx)) {
        dy = std::isinf(dy) ? std::copysign(1.0, dy) : 0.0;
        dx = std::isinf(dx) ? std::copysign(1.0, dx) : 0.0;
    }
    const double largest = std::fmax(std::fabs(dy), std::fabs(dx)) * 256.0;
    if (largest >= 8388608.0) {
        const int shift = std::ilogb(largest) - 15;
        dy = std::ldexp(dy, -shift);
        dx = std::ldexp(dx, -shift);
    }
    const auto y = static_cast<int32_t>(dy * 256.0);
    const auto x = static_cast<int32_t>(dx * 256.0);
    return atan2Raw(y, x) / 65536.0;
}

int32_t fixedDiv(int32_t a, int32_t b) {
    if (b == 0) {
        if (a == 0) return 0;
        return a > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>((static_cast<int64_t>(a) * 65536) / b);
}

double normalizeAngle(double degrees) {
    const auto wrap = [](double a) {
        const double shifted = a + 360.0;
        return shifted - 360.0 * std::trunc(shifted / 360.0);
    };
    return wrap(wrap(degrees));
}

double turnToward(double target, double current, double maxStep) {
    target = normalizeAngle(target);
    current = normalizeAngle(current);
    const double d = target - current;
    const bool longWay = std::fabs(d) >= 180.0;
    const double distance = longWay ? 360.0 - std::fabs(d) : std::fabs(d);
    if (distance > maxStep) {
        double step = d < 0.0 ? -maxStep : maxStep;
        if (longWay) step = -step;
        return normalizeAngle(current + step);
    }
    return target;
}

}  // namespace vg
