#pragma once
// The three drawing services the pipeline asks of the system, done by us on the surface so that a
// frame is the same pixels in every build (the Windows program only copies the finished surface
// to its window). Colours are the services' 0x00BBGGRR values; the surface gets 0x00RRGGBB.
// Everything is clipped to the surface itself.
//
// - DrawSystemLine: a one-pixel solid line from `from` towards `to`, without the end point (as a
//   move-to / line-to pair draws it). With n = max(|dx|, |dy|), pixel i = 0..n-1 steps once along
//   the major axis; its minor coordinate is the exact line's, rounded to nearest with halves
//   towards +infinity: start + floor((2 * i * dminor + n) / (2 * n)).
// - FillSystemPolygon: the interior (pixel centres inside by the even-odd rule, left and top edges
//   included, right and bottom excluded) in the colour, plus a closed one-pixel outline in the same
//   colour, as a polygon drawn with a pen and a brush of one colour.
// - GradientFillTriangle: every pixel whose centre lies inside or on the triangle, each channel
//   interpolated linearly (barycentric, exact integer arithmetic) between the corners' 16-bit
//   values and cut to its high byte. A triangle without area draws nothing.

#include <cstddef>
#include <cstdint>

#include "image/clsDIB.h"
#include "scene/scene_records.h"

namespace maglorin {

void DrawSystemLine(const PixelView& surface, const ScreenPoint& from, const ScreenPoint& to,
                    std::uint32_t systemColour);

void FillSystemPolygon(const PixelView& surface, const ScreenPoint* points, std::size_t count,
                       std::uint32_t systemColour);

// One corner of a gradient triangle: position and 16-bit channels (8-bit value * 256).
struct GradientCorner {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

void GradientFillTriangle(const PixelView& surface, const GradientCorner& c0, const GradientCorner& c1,
                          const GradientCorner& c2);

// A colour channel as a corner's 16-bit channel: c * 256. Sound behaviour: a channel outside 0..255
// (the clipped gradient's rounding can give -1 or 256) is clamped first; passed as is through a
// signed 16-bit field, 256 would wrap to 0 and draw black.
std::uint16_t ChannelToColour16(std::int16_t channel);

// A corner at `point` carrying `colour`, alpha 0.
GradientCorner MakeGradientCorner(const ScreenPoint& point, const ColourRGB& colour);

}  // namespace maglorin
