#include "raster/texture_triangle.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "raster/edge_walk.h"
#include "raster/modColor.h"
#include "raster/texture_wrap.h"

namespace maglorin {

namespace {

struct TexelRule {
    float t;
    bool light;
    std::int16_t shade;
};

std::uint32_t ShadeTexel(std::uint32_t texel, std::uint32_t destination, const TexelRule& rule) {
    if (rule.t != 0.0f) {
        PixelTriple s = PixelToTriple(texel);
        if (rule.light) s = AddToTriple(s, rule.shade);
        return TripleToPixel(Blend(s, PixelToTriple(destination), rule.t));
    }
    if (rule.light) return AddToPixelBytes(texel, rule.shade);
    return texel;
}

void FillTextureColumn(const RasterTarget& target, const ColumnSpan<2>& span, std::int32_t x,
                       const TextureSampler& texture, const TexelRule& rule) {
    const ClipRect& clip = target.clip;
    const float h = span.BottomY - span.TopY;
    const float du = SafeDivide(span.Bottom[0] - span.Top[0], h);
    const float dv = SafeDivide(span.Bottom[1] - span.Top[1], h);
    float u = span.Top[0];
    float v = span.Top[1];
    float y = span.TopY;
    const float clipTop = static_cast<float>(clip.Top);
    if (!(span.TopY >= clipTop)) {
        const float skipped = std::fabs(clipTop - span.TopY);
        u += du * skipped;
        v += dv * skipped;
        y = clipTop;
    }
    const float y1 = span.BottomY > static_cast<float>(clip.Bottom) ? static_cast<float>(clip.Bottom) : span.BottomY;
    if (!(y <= y1)) return;
    // Both ends are whole numbers inside the clip rows from here on.
    const std::int32_t first = static_cast<std::int32_t>(y);
    const std::int32_t last = std::min(static_cast<std::int32_t>(y1), target.frame.height - 1);
    std::uint32_t* const column = target.frame.data + x;
    const std::int32_t stride = target.frame.width;
    for (std::int32_t row = first; row <= last; ++row) {
        texture.Wrap(u, v);
        if (row >= 0) {
            std::uint32_t& pixel = column[static_cast<std::ptrdiff_t>(row) * stride];
            pixel = ShadeTexel(texture.Texel(u, v), pixel, rule);
        }
        u += du;
        v += dv;
    }
}

}  // namespace

void TextureTriangle(const RasterTarget& target, const TextureFace& face, const PixelView& texture, float t,
                     bool light, std::int16_t shade, TextureSpans& spans) {
    if (!target.frame.Attached() || !IsSampleable(texture) || !IsWithinColumnExtent(face.a, face.b, face.c)) return;
    ResetToTriangle(spans, face.a, face.b, face.c, ClipColumns(target));
    if (spans.Empty()) return;

    const EdgeEnd<2> a{face.a, {face.texA.u, face.texA.v}};
    const EdgeEnd<2> b{face.b, {face.texB.u, face.texB.v}};
    const EdgeEnd<2> c{face.c, {face.texC.u, face.texC.v}};
    WalkColumnEdge(c, b, spans);
    WalkColumnEdge(b, a, spans);
    WalkColumnEdge(a, c, spans);
    const TexelRule rule{t, light, shade};
    const TextureSampler sampler(texture);
    for (std::int64_t x = spans.First(); x <= spans.Last(); ++x) {
        FillTextureColumn(target, spans.At(x), static_cast<std::int32_t>(x), sampler, rule);
    }
}

}  // namespace maglorin
