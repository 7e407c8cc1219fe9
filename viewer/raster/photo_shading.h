#pragma once
// The photo filler's per-pixel steps in SSE2 form: the grey level of the clamped interpolated
// colour, the shade offset derived from it, and the offset added to the three bytes of a texel.
// Each is the same result as the scalar rule it stands for, for every input (the raster tests
// compare them over the whole byte range and over the float values a colour can take):
//
//   ShadeOffset (c, grey)   = HalfToEven (GreyOfSum (ClampedChannel (c.red) + ... ) - grey)
//   AddShadeToTexel (p, k)  = AddToPixelBytes (p, k)
//
// The colour rounds with the processor's current rounding mode, as ClampedChannel's float
// addition does; both are the IEEE default (to nearest, halves to even) in this program.

#include <emmintrin.h>

#include <cstdint>

namespace maglorin {

// An interpolated colour (red, green, blue, 0) in one register; the row steps are lane-wise
// single-precision additions, the same ones the three scalar channels would make.
using ColourLanes = __m128;

inline ColourLanes MakeColourLanes(float red, float green, float blue) { return _mm_setr_ps(red, green, blue, 0.0f); }

// round((ClampedChannel(red) + ClampedChannel(green) + ClampedChannel(blue)) * 0.3333333) - grey,
// then halved with halves to even: the shade offset of one pixel.
inline std::int32_t ShadeOffset(ColourLanes colour, std::int32_t grey) {
    // min (255, x) keeps x when x is NaN and max (x, 0) then makes it 0, exactly as "a value
    // > 255 becomes 255, a value not >= 0 becomes 0".
    const __m128 limited = _mm_max_ps(_mm_min_ps(_mm_set1_ps(255.0f), colour), _mm_setzero_ps());
    const __m128i channels = _mm_cvtps_epi32(limited);  // 0..255 each; the fourth lane is 0
    const __m128i pairs = _mm_add_epi32(channels, _mm_shuffle_epi32(channels, _MM_SHUFFLE(2, 3, 0, 1)));
    const __m128i total = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(1, 0, 3, 2)));
    const std::int32_t sum = _mm_cvtsi128_si32(total);  // 0..765
    const std::int32_t d = (sum + 1) / 3 - grey;
    return (d + ((d >> 1) & 1)) >> 1;
}

// The three low bytes of `texel`, each plus k and limited to 0..255; the top byte becomes 0.
inline std::uint32_t AddShadeToTexel(std::uint32_t texel, std::int32_t k) {
    // One of the two is 0; beyond 255 either way every byte saturates all the same.
    const std::uint32_t up = static_cast<std::uint32_t>(k > 255 ? 255 : (k > 0 ? k : 0));
    const std::uint32_t down = static_cast<std::uint32_t>(k < -255 ? 255 : (k < 0 ? -k : 0));
    const __m128i bytes = _mm_cvtsi32_si128(static_cast<std::int32_t>(texel));
    const __m128i raised = _mm_adds_epu8(bytes, _mm_cvtsi32_si128(static_cast<std::int32_t>(up * 0x010101u)));
    const __m128i lowered = _mm_subs_epu8(raised, _mm_cvtsi32_si128(static_cast<std::int32_t>(down * 0x010101u)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(lowered)) & 0x00FFFFFFu;
}

}  // namespace maglorin
