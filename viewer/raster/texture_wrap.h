#pragma once
// Wrapping (tiling) of texture coordinates, in texel units of the sampled texture. The period is
// Width - 1 (Height - 1 for v), not Width: u above the period loses whole periods until it is
// below it, u below 0 gains whole periods until it is above 0, and u exactly 0 or exactly the
// period is left alone. Every wrapped coordinate therefore truncates to a valid texel index.
//
// Done with one exact remainder instead of the repeated subtraction it stands for (same result
// for every coordinate below 2^24 in size, where each subtraction is exact). Sound behaviour
// beyond the rule: a texture one texel wide or high has period 0 and its coordinate becomes 0; a
// coordinate that is not finite becomes 0; one of 2^24 or more in size, where repeated
// subtraction stops making progress, is reduced by the same remainder.

#include <cstdint>

#include "image/clsDIB.h"

namespace maglorin {

float WrapCoordinate(float value, std::int32_t period);

// A texture as the fillers sample it: its words and the two wrap periods, taken once per face
// (copies, so that writes into the frame cannot make the compiler fetch them again per pixel).
struct TextureSampler {
    const std::uint32_t* data;
    std::int32_t width;
    std::int32_t periodU;  // Width - 1
    std::int32_t periodV;  // Height - 1
    float limitU;
    float limitV;

    explicit TextureSampler(const PixelView& texture)
        : data(texture.data),
          width(texture.width),
          periodU(texture.width - 1),
          periodV(texture.height - 1),
          limitU(static_cast<float>(texture.width - 1)),
          limitV(static_cast<float>(texture.height - 1)) {}

    // Wraps u with Width - 1 and v with Height - 1, in place. The common case, already inside,
    // costs two comparisons per coordinate.
    void Wrap(float& u, float& v) const {
        if (!(u >= 0.0f && u <= limitU)) u = WrapCoordinate(u, periodU);
        if (!(v >= 0.0f && v <= limitV)) v = WrapCoordinate(v, periodV);
    }

    // The texel a wrapped (u, v) names: column truncate(u), row truncate(v) in memory order
    // (texture surfaces keep the bottom row first).
    std::uint32_t Texel(float u, float v) const {
        return data[static_cast<std::int32_t>(v) * width + static_cast<std::int32_t>(u)];
    }
};

// Wraps u with Width - 1 and v with Height - 1 of `texture`, in place.
inline void WrapTexCoord(const PixelView& texture, float& u, float& v) { TextureSampler(texture).Wrap(u, v); }

inline std::uint32_t SampleTexel(const PixelView& texture, float u, float v) {
    return TextureSampler(texture).Texel(u, v);
}

}  // namespace maglorin
