#pragma once
// The photo-realistic column filler: texture mapping with the lit vertex colours interpolated over
// the face. Each texel is brightened or darkened by half the difference between the grey level of
// the interpolated colour and the material's own grey level, so the texture takes the light's
// shading without its hue.

#include <cstdint>

#include "image/clsDIB.h"
#include "raster/column_spans.h"
#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

struct PhotoFace {
    ScreenPoint a;
    ScreenPoint b;
    ScreenPoint c;
    TexCoord texA;  // mapped coordinates in texel units of the sampled texture
    TexCoord texB;
    TexCoord texC;
    ColourRGB colourA;  // lit vertex colours
    ColourRGB colourB;
    ColourRGB colourC;
};

// grey: the material's grey level, round((red + green + blue) * 0.3333333) of its Diffuse.
// A face clipped at ClipTop keeps the texture position of its visible rows, but its shading starts
// from the column's top colour at the first visible row.
void PhotoTriangle(const RasterTarget& target, const PhotoFace& face, const PixelView& texture, float t,
                   std::int16_t grey, PhotoSpans& spans);

// The per-pixel shade offset: round((g - grey) * 0.5), g the grey level of the clamped colour.
std::int16_t PhotoShade(const ColourRGB& clampedColour, std::int16_t grey);

// The same steps in integer arithmetic; equal to GreyLevel and to round(d * 0.5) for every value
// they meet (the tests compare them exhaustively). The column fill uses their SSE2 form,
// ShadeOffset in raster/photo_shading.h, tested against these.
// GreyOfSum: round(sum * 0.3333333) for a channel sum 0..765.
inline std::int32_t GreyOfSum(std::int32_t sum) { return (sum + 1) / 3; }
// HalfToEven: round(d * 0.5), halves to even, for any integer d.
inline std::int32_t HalfToEven(std::int32_t d) { return (d + ((d >> 1) & 1)) >> 1; }

}  // namespace maglorin
