#pragma once
// A one-pixel line whose pixels are taken from a texture, the texture coordinates running
// linearly from one end point to the other ("Wireframe Map" style). Both end points are drawn. The
// line clips itself pixel by pixel (strictly inside the clip rectangle), so callers hand it the
// unclipped end points.

#include "image/clsDIB.h"
#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

// `texture`: the material's sampled texture (bottom row first); texels are copied unchanged. A
// texture without pixels, or a line longer than kMaxFaceExtent, draws nothing.
void TexturedLine(const RasterTarget& target, const ScreenPoint& p1, const TexCoord& t1, const ScreenPoint& p2,
                  const TexCoord& t2, const PixelView& texture);

}  // namespace maglorin
