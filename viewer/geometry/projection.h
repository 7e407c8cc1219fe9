#pragma once
// Projection of the model into canvas pixels, done every frame before the frame is drawn.

#include <cstdint>
#include <vector>

#include "scene/scene.h"

namespace maglorin {

// Rebuilds the camera's ViewMatrix and the WorldMatrix, then projects, for every mesh with at
// least two vertices, its Vertices into ScreenPoints (in the "Box" style its BoxVertices into
// BoxScreenPoints): ViewPosition and ViewPositionRaw get the view-space position, ViewPosition's
// x and y are divided by z when z != 0, and the pixel is round(k * x + CentreX),
// round(k * y + CentreY) with k = FocalLength * 1000 (halves to even; the y axis is not
// flipped). ScreenPoints is grown to the bounds of Vertices when it is shorter.
void ProjectVertices(Scene& scene);

// One table: `points` gets one entry per vertex (resized to match). `viewWorld` is View * World.
void ProjectVertexTable(const Matrix4& viewWorld, float focalFactor, std::int32_t centreX, std::int32_t centreY,
                        Vertex* vertices, std::size_t count, ScreenPoint* points);

// Nearest integer with halves to even; NaN gives 0 and values beyond the 32-bit range saturate,
// so a vertex near depth 0 lands far off the canvas but on a well-defined pixel.
std::int32_t RoundPixel(float value);

}  // namespace maglorin
