#include "raster/photo_triangle.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "raster/edge_walk.h"
#include "raster/modColor.h"
#include "raster/photo_edge_walk.h"
#include "raster/photo_shading.h"
#include "raster/texture_triangle.h"
#include "raster/texture_wrap.h"

namespace maglorin {

namespace {

// Values carried along the edges: u, v, red, green, blue.
std::array<float, 5> PhotoValues(const TexCoord& tex, const ColourRGB& c) {
    return {tex.u, tex.v, static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

// The column's steps: u, v, red, green, blue, each the bottom-minus-top difference through
// SafeDivide (..., h). Four of the five quotients come from one lane-wise division, which gives
// each lane the same single-precision quotient a division of its own would.
struct PhotoSteps {
    float du;
    float dv;
    ColourLanes colour;  // (red, green, blue, 0)
};

PhotoSteps ColumnSteps(const ColumnSpan<5>& span) {
    const float h = span.BottomY - span.TopY;
    const float divisor = h == 0.0f ? kSafeDivisor : h;
    const __m128 differences = _mm_sub_ps(_mm_loadu_ps(span.Bottom.data()), _mm_loadu_ps(span.Top.data()));
    alignas(16) float quotients[4];
    _mm_store_ps(quotients, _mm_div_ps(differences, _mm_set1_ps(divisor)));
    const float db = SafeDivide(span.Bottom[4] - span.Top[4], h);
    return {quotients[0], quotients[1], MakeColourLanes(quotients[2], quotients[3], db)};
}

// Shaded texel over the frame pixel: opaque faces replace it, transparent ones blend over it.
template <bool kOpaque>
void FillPhotoRows(std::uint32_t* column, std::int32_t stride, std::int32_t first, std::int32_t last, float u,
                   float v, ColourLanes colour, const PhotoSteps& steps, const TextureSampler& texture, float t,
                   std::int32_t grey) {
    for (std::int32_t row = first; row <= last; ++row) {
        texture.Wrap(u, v);
        const std::uint32_t shaded = AddShadeToTexel(texture.Texel(u, v), ShadeOffset(colour, grey));
        std::uint32_t& pixel = column[static_cast<std::ptrdiff_t>(row) * stride];
        if constexpr (kOpaque) {
            pixel = shaded;
        } else {
            pixel = TripleToPixel(Blend(PixelToTriple(shaded), PixelToTriple(pixel), t));
        }
        u += steps.du;
        v += steps.dv;
        colour = _mm_add_ps(colour, steps.colour);
    }
}

void FillPhotoColumn(const RasterTarget& target, const ColumnSpan<5>& span, std::int32_t x,
                     const TextureSampler& texture, float t, std::int16_t grey) {
    const ClipRect& clip = target.clip;
    const PhotoSteps steps = ColumnSteps(span);
    float u = span.Top[0], v = span.Top[1];
    ColourLanes colour = MakeColourLanes(span.Top[2], span.Top[3], span.Top[4]);
    float y = span.TopY;
    const float clipTop = static_cast<float>(clip.Top);
    if (!(span.TopY >= clipTop)) {
        // Texture position follows the clip; the colour starts from the top colour regardless.
        const float skipped = std::fabs(clipTop - span.TopY);
        u += steps.du * skipped;
        v += steps.dv * skipped;
        y = clipTop;
    }
    const float y1 = span.BottomY > static_cast<float>(clip.Bottom) ? static_cast<float>(clip.Bottom) : span.BottomY;
    if (!(y <= y1)) return;
    std::int32_t first = static_cast<std::int32_t>(y);
    const std::int32_t last = std::min(static_cast<std::int32_t>(y1), target.frame.height - 1);
    // Rows above the surface draw nothing but still step (and wrap) the values.
    for (; first < 0 && first <= last; ++first) {
        texture.Wrap(u, v);
        u += steps.du;
        v += steps.dv;
        colour = _mm_add_ps(colour, steps.colour);
    }
    std::uint32_t* const column = target.frame.data + x;
    const std::int32_t stride = target.frame.width;
    if (t == 0.0f) {
        FillPhotoRows<true>(column, stride, first, last, u, v, colour, steps, texture, t, grey);
    } else {
        FillPhotoRows<false>(column, stride, first, last, u, v, colour, steps, texture, t, grey);
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
    WalkPhotoEdge(a, b, spans);
    WalkPhotoEdge(b, c, spans);
    WalkPhotoEdge(c, a, spans);
    const TextureSampler sampler(texture);
    for (std::int64_t x = first; x <= last; ++x) {
        FillPhotoColumn(target, spans.At(x), static_cast<std::int32_t>(x), sampler, t, grey);
    }
}

}  // namespace maglorin
