#include "raster/flat_triangle.h"

#include <algorithm>

#include "raster/edge_walk.h"
#include "raster/modColor.h"

namespace maglorin {

namespace {

void FillFlatColumn(const RasterTarget& target, const PixelView& background, const ColumnSpan<0>& span,
                    std::int32_t x, const ColourRGB& colour, float t) {
    const ClipRect& clip = target.clip;
    const float y0 = span.TopY >= static_cast<float>(clip.Top) ? span.TopY : static_cast<float>(clip.Top);
    const float y1 = span.BottomY <= static_cast<float>(clip.Bottom) ? span.BottomY : static_cast<float>(clip.Bottom);
    if (!(y0 <= y1)) return;
    // Both ends are whole numbers inside the clip rows, so the rows are counted exactly.
    const std::int32_t first = std::max(static_cast<std::int32_t>(y0), 0);
    const std::int32_t last = std::min(static_cast<std::int32_t>(y1), target.frame.height - 1);
    for (std::int32_t row = first; row <= last; ++row) {
        if (t == 1.0f) {
            if (background.Contains(x, row)) target.frame(x, row) = background(x, row);
            continue;
        }
        // Blend with t = 0 is the face colour itself.
        target.frame(x, row) = t == 0.0f ? ColourToPixel(colour)
                                         : ColourToPixel(Blend(colour, PixelToColour(target.frame(x, row)), t));
    }
}

}  // namespace

void FlatTriangle(const RasterTarget& target, const PixelView& background, const FlatFace& face, float t,
                  FlatSpans& spans) {
    if (!target.frame.Attached() || !IsWithinColumnExtent(face.a, face.b, face.c)) return;
    ResetToTriangle(spans, face.a, face.b, face.c, ClipColumns(target));
    if (spans.Empty()) return;

    const EdgeEnd<0> a{face.a, {}}, b{face.b, {}}, c{face.c, {}};
    WalkColumnEdge(c, b, spans);
    WalkColumnEdge(b, a, spans);
    WalkColumnEdge(a, c, spans);
    for (std::int64_t x = spans.First(); x <= spans.Last(); ++x) {
        FillFlatColumn(target, background, spans.At(x), static_cast<std::int32_t>(x), face.colour, t);
    }
}

ColourRGB FlatFaceColour(bool light, const ColourRGB& a, const ColourRGB& b, const ColourRGB& c,
                         const ColourRGB& diffuse) {
    return light ? AverageColour(a, b, c) : diffuse;
}

}  // namespace maglorin
