#include "raster/textured_line.h"

#include <cmath>
#include <cstdlib>

#include "raster/modColor.h"
#include "raster/rounding.h"
#include "raster/texture_triangle.h"
#include "raster/texture_wrap.h"

namespace maglorin {

namespace {

struct LinePoint {
    float x;
    float y;
    float u;
    float v;
};

void PlotTexel(const RasterTarget& target, const TextureSampler& texture, LinePoint& p) {
    const ClipRect& clip = target.clip;
    const bool inside = static_cast<float>(clip.Left) < p.x && p.x < static_cast<float>(clip.Right) &&
                        static_cast<float>(clip.Top) < p.y && p.y < static_cast<float>(clip.Bottom);
    if (!inside) return;
    texture.Wrap(p.u, p.v);  // the walk continues from the wrapped values
    const std::int32_t x = RoundToInt32(p.x);
    const std::int32_t y = RoundToInt32(p.y);
    if (target.frame.Contains(x, y)) target.frame(x, y) = texture.Texel(p.u, p.v);
}

}  // namespace

void TexturedLine(const RasterTarget& target, const ScreenPoint& p1, const TexCoord& t1, const ScreenPoint& p2,
                  const TexCoord& t2, const PixelView& texture) {
    if (!target.frame.Attached() || !IsSampleable(texture) || !IsWithinFaceExtent(p1, p2, p2)) return;
    const bool firstStarts = p1.x < p2.x;
    const ScreenPoint& ps = firstStarts ? p1 : p2;
    const ScreenPoint& pe = firstStarts ? p2 : p1;
    const TexCoord& ts = firstStarts ? t1 : t2;
    const TexCoord& te = firstStarts ? t2 : t1;
    const float dx = static_cast<float>(static_cast<std::int64_t>(pe.x) - ps.x);
    const float dy = static_cast<float>(static_cast<std::int64_t>(pe.y) - ps.y);
    const float du = te.u - ts.u;
    const float dv = te.v - ts.v;
    LinePoint p{static_cast<float>(ps.x), static_cast<float>(ps.y), ts.u, ts.v};
    const TextureSampler sampler(texture);

    if (std::fabs(dy) >= dx) {
        const float m = std::fabs(dy);
        const float sx = SafeDivide(dx, m), sy = SafeDivide(dy, m), su = SafeDivide(du, m), sv = SafeDivide(dv, m);
        const std::int32_t count = RoundToInt32(m);
        for (std::int32_t i = 0; i <= count; ++i) {
            PlotTexel(target, sampler, p);
            p.x += sx;
            p.y += sy;
            p.u += su;
            p.v += sv;
        }
        return;
    }
    const float sy = SafeDivide(dy, dx), su = SafeDivide(du, dx), sv = SafeDivide(dv, dx);
    for (std::int64_t x = ps.x; x <= pe.x; ++x) {
        p.x = static_cast<float>(x);
        PlotTexel(target, sampler, p);
        p.y += sy;
        p.u += su;
        p.v += sv;
    }
}

}  // namespace maglorin
