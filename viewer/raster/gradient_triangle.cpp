#include "raster/gradient_triangle.h"

#include <algorithm>

#include "raster/edge_walk.h"
#include "raster/modColor.h"

namespace maglorin {

namespace {

std::array<float, 3> ColourValues(const ColourRGB& c) {
    return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

void FillGradientColumn(const PixelView& frame, const ColumnSpan<3>& span, std::int32_t x, float t) {
    // Rows from TopY + 1 to BottomY; none of them on the frame means nothing to do.
    if (span.BottomY < 0.0f || span.TopY + 1.0f > static_cast<float>(frame.height - 1)) return;
    const float h = span.BottomY - span.TopY;
    std::array<float, 3> step{};
    for (std::size_t k = 0; k < 3; ++k) step[k] = SafeDivide(span.Bottom[k] - span.Top[k], h);
    std::array<float, 3> c = span.Top;
    for (float y = span.TopY + 1.0f; y <= span.BottomY; y += 1.0f) {
        const std::int32_t row = RoundToInt32(y);
        if (row >= frame.height) break;
        if (row >= 0) {
            const ColourRGB s = ClampColour(c[0], c[1], c[2]);
            // Blend with t = 0 is s itself.
            frame(x, row) = t == 0.0f ? ColourToPixel(s) : ColourToPixel(Blend(s, PixelToColour(frame(x, row)), t));
        }
        for (std::size_t k = 0; k < 3; ++k) c[k] += step[k];
    }
}

}  // namespace

void GradientTriangle(const RasterTarget& target, const GradientFace& face, float t, GradientSpans& spans) {
    if (!target.frame.Attached() || !IsWithinFaceExtent(face.a, face.b, face.c)) return;
    ResetToTriangle(spans, face.a, face.b, face.c, FrameColumns(target));
    if (spans.Empty()) return;

    const EdgeEnd<3> a{face.a, ColourValues(face.colourA)};
    const EdgeEnd<3> b{face.b, ColourValues(face.colourB)};
    const EdgeEnd<3> c{face.c, ColourValues(face.colourC)};
    WalkGradientEdge(a, b, spans);
    WalkGradientEdge(b, c, spans);
    WalkGradientEdge(c, a, spans);
    for (std::int64_t x = spans.First(); x <= spans.Last(); ++x) {
        FillGradientColumn(target.frame, spans.At(x), static_cast<std::int32_t>(x), t);
    }
}

}  // namespace maglorin
