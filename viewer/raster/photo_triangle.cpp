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

// One column ready to fill: its rows first..last (all on the surface) and the values of row
// first. Filling advances the values row by row exactly as a top-to-bottom walk would.
struct PhotoRun {
    std::uint32_t* column;
    std::int32_t first;
    std::int32_t last;
    float u;
    float v;
    ColourLanes colour;
    PhotoSteps steps;
};

// Sets up column x; false when it draws nothing.
bool StartPhotoRun(const RasterTarget& target, const ColumnSpan<5>& span, std::int32_t x,
                   const TextureSampler& texture, PhotoRun& run) {
    const ClipRect& clip = target.clip;
    run.steps = ColumnSteps(span);
    run.u = span.Top[0];
    run.v = span.Top[1];
    run.colour = MakeColourLanes(span.Top[2], span.Top[3], span.Top[4]);
    float y = span.TopY;
    const float clipTop = static_cast<float>(clip.Top);
    if (!(span.TopY >= clipTop)) {
        // Texture position follows the clip; the colour starts from the top colour regardless.
        const float skipped = std::fabs(clipTop - span.TopY);
        run.u += run.steps.du * skipped;
        run.v += run.steps.dv * skipped;
        y = clipTop;
    }
    const float y1 = span.BottomY > static_cast<float>(clip.Bottom) ? static_cast<float>(clip.Bottom) : span.BottomY;
    if (!(y <= y1)) return false;
    run.first = static_cast<std::int32_t>(y);
    run.last = std::min(static_cast<std::int32_t>(y1), target.frame.height - 1);
    // Rows above the surface draw nothing but still step (and wrap) the values.
    for (; run.first < 0 && run.first <= run.last; ++run.first) {
        texture.Wrap(run.u, run.v);
        run.u += run.steps.du;
        run.v += run.steps.dv;
        run.colour = _mm_add_ps(run.colour, run.steps.colour);
    }
    run.column = target.frame.data + x;
    return run.first <= run.last;
}

// Rows from..to of a run (within first..last, continuing from where the run stands): the shaded
// texel replaces the frame pixel of an opaque face and is blended over it for a transparent one.
template <bool kOpaque>
void FillPhotoRows(PhotoRun& run, std::int32_t from, std::int32_t to, std::int32_t stride,
                   const TextureSampler& texture, float t, std::int32_t grey) {
    float u = run.u, v = run.v;
    ColourLanes colour = run.colour;
    for (std::int32_t row = from; row <= to; ++row) {
        texture.Wrap(u, v);
        const std::uint32_t shaded = AddShadeToTexel(texture.Texel(u, v), ShadeOffset(colour, grey));
        std::uint32_t& pixel = run.column[static_cast<std::ptrdiff_t>(row) * stride];
        if constexpr (kOpaque) {
            pixel = shaded;
        } else {
            pixel = TripleToPixel(Blend(PixelToTriple(shaded), PixelToTriple(pixel), t));
        }
        u += run.steps.du;
        v += run.steps.dv;
        colour = _mm_add_ps(colour, run.steps.colour);
    }
    run.u = u;
    run.v = v;
    run.colour = colour;
}

// Neighbouring columns share the frame's cache lines, and rows of the frame lie a power of two
// apart, so a tall column evicts the lines its neighbour needs next. A block of columns is
// therefore filled a few rows at a time: every pixel still gets exactly the values its own column
// walk gives it (each column steps through its rows in order), only the order between columns
// changes, and no pixel is written twice.
constexpr std::int32_t kBlockColumns = 16;
constexpr std::int32_t kBlockRows = 8;

template <bool kOpaque>
void FillPhotoBlock(PhotoRun* runs, std::int32_t count, std::int32_t stride, const TextureSampler& texture, float t,
                    std::int32_t grey) {
    std::int32_t top = runs[0].first, bottom = runs[0].last;
    for (std::int32_t j = 1; j < count; ++j) {
        top = std::min(top, runs[j].first);
        bottom = std::max(bottom, runs[j].last);
    }
    for (std::int32_t from = top; from <= bottom; from += kBlockRows) {
        const std::int32_t to = std::min(bottom, from + (kBlockRows - 1));
        for (std::int32_t j = 0; j < count; ++j) {
            PhotoRun& run = runs[j];
            const std::int32_t a = std::max(from, run.first), b = std::min(to, run.last);
            if (a <= b) FillPhotoRows<kOpaque>(run, a, b, stride, texture, t, grey);
        }
    }
}

void FillPhotoColumns(const RasterTarget& target, const PhotoSpans& spans, const TextureSampler& texture, float t,
                      std::int16_t grey) {
    PhotoRun runs[kBlockColumns];
    const std::int32_t stride = target.frame.width;
    for (std::int64_t x = spans.First(); x <= spans.Last(); x += kBlockColumns) {
        const std::int64_t end = std::min(spans.Last(), x + (kBlockColumns - 1));
        std::int32_t count = 0;
        for (std::int64_t column = x; column <= end; ++column) {
            if (StartPhotoRun(target, spans.At(column), static_cast<std::int32_t>(column), texture, runs[count])) ++count;
        }
        if (count == 0) continue;
        if (t == 0.0f) {
            FillPhotoBlock<true>(runs, count, stride, texture, t, grey);
        } else {
            FillPhotoBlock<false>(runs, count, stride, texture, t, grey);
        }
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
    ResetToTriangle(spans, face.a, face.b, face.c, ClipColumns(target));
    if (spans.Empty()) return;

    const EdgeEnd<5> a{face.a, PhotoValues(face.texA, face.colourA)};
    const EdgeEnd<5> b{face.b, PhotoValues(face.texB, face.colourB)};
    const EdgeEnd<5> c{face.c, PhotoValues(face.texC, face.colourC)};
    WalkPhotoEdge(a, b, spans);
    WalkPhotoEdge(b, c, spans);
    WalkPhotoEdge(c, a, spans);
    FillPhotoColumns(target, spans, TextureSampler(texture), t, grey);
}

}  // namespace maglorin
