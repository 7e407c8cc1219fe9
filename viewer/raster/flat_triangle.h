#pragma once
// The flat column filler: one colour for the whole face, blended over the frame by the material's
// transparency t (0 = opaque). t exactly 1.0 copies the background picture into the face's pixels
// instead (the hidden-line wireframe paints faces with it before drawing their edges).

#include "image/clsDIB.h"
#include "raster/column_spans.h"
#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

struct FlatFace {
    ScreenPoint a;
    ScreenPoint b;
    ScreenPoint c;
    ColourRGB colour;  // AverageColour of the lit vertex colours, or the material's Diffuse unlit
};

// Fills columns max(minX, ClipLeft)..min(maxX, ClipRight), rows clipped to ClipTop..ClipBottom.
// Pixels outside the frame (or, for the copy, outside `background`) are not written.
void FlatTriangle(const RasterTarget& target, const PixelView& background, const FlatFace& face, float t,
                  FlatSpans& spans);

// The face colour FlatTriangle is given: the average of the three lit vertex colours when light is
// on, the material's own colour otherwise.
ColourRGB FlatFaceColour(bool light, const ColourRGB& a, const ColourRGB& b, const ColourRGB& c,
                         const ColourRGB& diffuse);

}  // namespace maglorin
