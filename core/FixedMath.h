#pragma once

#include <array>
#include <cstdint>

namespace vg {

// Play code measures positions in signed 16.16 pixels (65536 = 1 pixel) and angles in degrees:
// 0 points right, 90 down (y grows downward). Every result here is bit-exact across machines,
// because replays depend on it.

// sin(i * 90 / 512 degrees) * 2^24 for i = 0..512, truncated, with pi taken as 3.141592: the
// first quarter of a 2048-step turn. Built once, on first use.
const std::array<int32_t, 513>& sineTable();
// atan(i / 256) in degrees as 16.16, truncated, i = 0..255, pi again 3.141592.
const std::array<int32_t, 256>& atanTable();

// Angle in 16.16 degrees -> 16.16 value, from the nearest of 2048 steps per turn.
int32_t sinFixed(int32_t angle);
int32_t cosFixed(int32_t angle);
// The same table lookup for an angle in degrees, returned as entry / 2^24.
double sinDouble(double degrees);
double cosDouble(double degrees);

// Direction of (dx, dy) in 16.16 degrees, in (-180, 180]. Both components are cut to 24.8
// first, so anything below 1/256 pixel counts as 0; (0, 0) gives 45.
int32_t atan2Fixed(int32_t dy, int32_t dx);
// The same, for doubles in pixels; the result in degrees.
double atan2Double(double dy, double dx);

// (a * 65536) / b in 64 bits, truncated to 32. Division by zero saturates toward the sign of a
// (0 when a is 0) instead of trapping.
int32_t fixedDiv(int32_t a, int32_t b);

// The angle brought into [0, 360).
double normalizeAngle(double degrees);
// `current` turned toward `target` the short way round by at most `maxStep` degrees; the
// result is normalised.
double turnToward(double target, double current, double maxStep);

}  // namespace vg
