#pragma once
// Conversions from reals to integers as the viewer makes them: pixel positions and colour channels
// round to the nearest integer with halves to even; texel and row positions truncate towards zero.
// Written out with plain arithmetic so that no library routine decides a pixel. Results saturate at the ends of the target type and NaN becomes 0, so a wild
// value never turns into undefined behaviour.

#include <cmath>
#include <cstdint>
#include <limits>

namespace maglorin {

// Nearest integer, halves to even, as a real. Below 2^51 in size, adding and removing 1.5 * 2^52
// leaves exactly the integer that the IEEE default rounding (to nearest, ties to even) picks, the
// rounding every other operation of the program is computed with; larger values take the long way.
inline double RoundHalfEven(double value) {
    constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
    if (std::fabs(value) < 2251799813685248.0) return (value + kShift) - kShift;
    if (std::isnan(value)) return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) return below + 1.0;
    if (fraction < 0.5) return below;
    return std::floor(below * 0.5) * 2.0 == below ? below : below + 1.0;
}

template <typename Int>
Int SaturateTo(double value) {
    if (std::isnan(value)) return 0;
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double high = static_cast<double>(std::numeric_limits<Int>::max());
    if (value <= low) return std::numeric_limits<Int>::min();
    if (value >= high) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

// Pixel positions.
inline std::int32_t RoundToInt32(double value) { return SaturateTo<std::int32_t>(RoundHalfEven(value)); }
// Colour channels and other 16-bit results.
inline std::int16_t RoundToInt16(double value) { return SaturateTo<std::int16_t>(RoundHalfEven(value)); }
// Texel and row positions.
inline std::int32_t TruncateToInt32(double value) { return SaturateTo<std::int32_t>(std::trunc(value)); }

// A 16-bit channel result; sums beyond the 16-bit range saturate instead of overflowing.
inline std::int16_t Channel16(std::int32_t value) {
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(value);
}

}  // namespace maglorin
