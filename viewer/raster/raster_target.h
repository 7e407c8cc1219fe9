#pragma once
// What the program's own fillers draw into: the frame's pixel view (top row first, 0x00RRGGBB)
// and the clip rectangle. Every pixel access is also checked against the surface itself, so a
// clip rectangle larger than the surface never leads outside it.

#include <cstdint>

#include "image/clsDIB.h"
#include "raster/clip_rect.h"
#include "scene/scene_records.h"

namespace maglorin {

struct RasterTarget {
    PixelView frame;
    ClipRect clip;
};

// The largest width (and, for the walks that step by rows, height), in pixels, of a face or line
// the fillers draw. A vertex close to depth 0 projects millions of pixels off the canvas; walking
// such an edge one column (or row) at a time would stall the frame for seconds, so such a face is
// left out, the way the clipped gradient path abandons a face on error. 262144 pixels is about a
// hundred canvas widths.
inline constexpr std::int64_t kMaxFaceExtent = 262144;

inline std::int64_t Spread(std::int64_t p, std::int64_t q, std::int64_t r) {
    const std::int64_t low = p < q ? (p < r ? p : r) : (q < r ? q : r);
    const std::int64_t high = p > q ? (p > r ? p : r) : (q > r ? q : r);
    return high - low;
}

// For the column walks (flat and texture fillers): only the width costs steps.
inline bool IsWithinColumnExtent(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c) {
    return Spread(a.x, b.x, c.x) <= kMaxFaceExtent;
}

// For the walks that may step by rows (gradient and photo fillers, textured lines).
inline bool IsWithinFaceExtent(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c) {
    return Spread(a.x, b.x, c.x) <= kMaxFaceExtent && Spread(a.y, b.y, c.y) <= kMaxFaceExtent;
}

}  // namespace maglorin
