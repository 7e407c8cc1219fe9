#pragma once
// The texture-mapped column filler ("Mapped" style): the face's mapped texture coordinates are
// walked into column spans and stepped linearly down each column (affine, no perspective
// correction), wrapping at the texture's edges. With light on, a shade offset brightens or darkens
// each texel equally on its three bytes; a transparent material blends the result over the frame.

#include <cstdint>

#include "image/clsDIB.h"
#include "raster/column_spans.h"
#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

struct TextureFace {
    ScreenPoint a;
    ScreenPoint b;
    ScreenPoint c;
    TexCoord texA;  // mapped coordinates in texel units of the sampled texture
    TexCoord texB;
    TexCoord texC;
};

// `texture` is the material's sampled texture (TextureWorkPixels, bottom row first). A texture
// without pixels draws nothing. Columns max(minX, ClipLeft)..min(maxX, ClipRight), rows clipped to
// ClipTop..ClipBottom; a face above ClipTop keeps the texture position of the rows it shows.
void TextureTriangle(const RasterTarget& target, const TextureFace& face, const PixelView& texture, float t,
                     bool light, std::int16_t shade, TextureSpans& spans);

// Whether a texture can be sampled at all (pixels attached, at least one texel).
inline bool IsSampleable(const PixelView& texture) {
    return texture.Attached() && texture.width >= 1 && texture.height >= 1;
}

}  // namespace maglorin
