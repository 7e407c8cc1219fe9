#pragma once
// The gradient column filler (Gouraud): the three vertex colours interpolated over the face and
// blended over the frame by the material's transparency t (1.0 has no special meaning here: it
// leaves the pixels unchanged). Neither columns nor rows are limited to the clip rectangle; only
// pixels on the frame are written. The top-most row of each column is not drawn.

#include "raster/column_spans.h"
#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

struct GradientFace {
    ScreenPoint a;
    ScreenPoint b;
    ScreenPoint c;
    ColourRGB colourA;
    ColourRGB colourB;
    ColourRGB colourC;
};

void GradientTriangle(const RasterTarget& target, const GradientFace& face, float t, GradientSpans& spans);

}  // namespace maglorin
