#include "raster/photo_triangle.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "raster/edge_walk.h"
#include "raster/modColor.h"
#include "raster/texture_triangle.h"
#include "raster/texture_wrap.h"

namespace maglorin {

namespace {

// Values carried along the edges: u, v, red, green, blue.
std::array<float, 5> PhotoValues(const TexCoord& tex, const ColourRGB& c) {
    return {tex.u, tex.v, static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

void FillPhotoColumn(const RasterTarget& target, const ColumnSpan<5>& span, std::int32_t x,
                     const TextureSampler& texture, float t, std::int16_t grey) {
    const ClipRect& clip = target.clip;
    const float h = span.BottomY - span.TopY;
    // u, v, red, green, blue kept in locals so the per-row steps stay in registers.
    const float du = SafeDivide(span.Bottom[0] - span.Top[0], h);
    const float dv = SafeDivide(span.Bottom[1] - span.Top[1], h);
    const float dr = SafeDivide(span.Bottom[2] - span.Top[2], h);
    const float dg = SafeDivide(span.Bottom[3] - span.Top[3], h);
    const float db = SafeDivide(span.Bottom[4] - span.Top[4], h);
    float u = span.Top[0], v = span.Top[1], red = span.Top[2], green = span.Top[3], blue = span.Top[4];
    float y = span.TopY;
    const float clipTop = static_cast<float>(clip.Top);
    if (!(span.TopY >= clipTop)) {
        // Texture position follows the clip; the colour starts from the top colour regardless.
        const float skipped = std::fabs(clipTop - span.TopY);
        u += du * skipped;
        v += dv * skipped;
        y = clipTop;
    }
    const float y1 = span.BottomY > static_cast<float>(clip.Bottom) ? static_cast<float>(clip.Bottom) : span.BottomY;
    if (!(y <= y1)) return;
    const std::int32_t first = static_cast<std::int32_t>(y);
    const std::int32_t last = std::min(static_cast<std::int32_t>(y1), target.frame.height - 1);
    std::uint32_t* const column = target.frame.data + x;
    const std::int32_t stride = target.frame.width;
    for (std::int32_t row = first; row <= last; ++row) {
        texture.Wrap(u, v);
        if (row >= 0) {
            const std::int32_t g = GreyOfSum(ClampedChannel(red) + ClampedChannel(green) + ClampedChannel(blue));
            const std::int16_t k = static_cast<std::int16_t>(HalfToEven(g - grey));
            const std::uint32_t shaded = AddToPixelBytes(texture.Texel(u, v), k);
            std::uint32_t& pixel = column[static_cast<std::ptrdiff_t>(row) * stride];
            pixel = t == 0.0f ? shaded : TripleToPixel(Blend(PixelToTriple(shaded), PixelToTriple(pixel), t));
        }
        u += du;
        v += dv;
        red += dr;
        green += dg;
        blue += db;
    }
}

}  // namespace

std::int16_t PhotoShade(const ColourRGB& clampedColour, std::int16_t grey) {
    const std::int16_t g = GreyLevel(clampedColour);
    return RoundToInt16(static_cast<float>(Channel16(g - grey)) * 0.5f);
}

void PhotoTriangle(const RasterTarget& target, const PhotoFace& face, const PixelView& texture, float t,
                   std::int16_t grey, PhotoSpans& spans) {
    if (!target.frame.Attached() || !IsSampleable(texture) || !IsWithinFaceExtent(face.a, face.b, face.c)) return;
    const std::int64_t minX = std::min({face.a.x, face.b.x, face.c.x});
    const std::int64_t maxX = std::max({face.a.x, face.b.x, face.c.x});
    const std::int64_t first = std::max({minX, std::int64_t{target.clip.Left}, std::int64_t{0}});
    const std::int64_t last = std::min({maxX, std::int64_t{target.clip.Right}, std::int64_t{target.frame.width} - 1});
    spans.Reset(first, last);
    if (spans.Empty()) return;

    const EdgeEnd<5> a{face.a, PhotoValues(face.texA, face.colourA)};
    const EdgeEnd<5> b{face.b, PhotoValues(face.texB, face.colourB)};
    const EdgeEnd<5> c{face.c, PhotoValues(face.texC, face.colourC)};
    WalkGradientEdge(a, b, spans);
    WalkGradientEdge(b, c, spans);
    WalkGradientEdge(c, a, spans);
    const TextureSampler sampler(texture);
    for (std::int64_t x = first; x <= last; ++x) {
        FillPhotoColumn(target, spans.At(x), static_cast<std::int32_t>(x), sampler, t, grey);
    }
}

}  // namespace maglorin
