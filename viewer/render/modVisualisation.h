#pragma once
// The render pipeline: one frame of the scene into FrameSurface. The frame starts as a copy of
// the background picture (or black), the vertices are coloured, and every mesh is drawn in the
// current visual style: dots, bounding boxes, wireframes, or filled faces in the painter's order,
// each face classified against the clip rectangle and handed to one of the program's own fillers
// or to a drawing service (triangulating clipped polygons first).
//
// The caller projects the vertices first (ProjectVertices) and shows the finished surface; the
// pipeline itself never touches a window, so a frame is the same pixels in every build.

#include <cstdint>
#include <vector>

#include "raster/column_spans.h"
#include "render/modClipper.h"
#include "render/triangulation.h"
#include "scene/scene.h"

namespace maglorin {

// Working tables of one frame, reused from face to face (and from frame to frame by callers that
// keep one, such as the benchmark).
struct RenderWork {
    ClipPointList clipPoints;
    std::vector<ClipTriangleIndices> triangles;
    std::vector<ColourRGB> clipColours;
    FlatSpans flatSpans;
    GradientSpans gradientSpans;
    TextureSpans textureSpans;
    PhotoSpans photoSpans;
};

// Draws one frame into scene.FrameSurface. Nothing is drawn when the frame surface has no pixels.
void RenderFrame(Scene& scene);
void RenderFrame(Scene& scene, RenderWork& work);

// Step 1 of a frame: FrameSurface becomes a copy of BackgroundSurface when UseBackground is
// non-zero (CanvasWidth x CanvasHeight at (0, 0); frame pixels the background does not cover are
// black), otherwise black.
void StartFrame(Scene& scene);

// Draws the scene in CurrentStyle over what the frame already holds (lighting included).
void DrawStyle(Scene& scene, RenderWork& work);

// FarZ < z < NearZ.
bool IsDepthInside(const Camera& camera, float z);
// ClipLeft < x < ClipRight and ClipTop < y < ClipBottom.
bool IsPointOnScreen(const Scene& scene, const ScreenPoint& p);

// The colour of clip point p by barycentric interpolation of the face's corner colours over its
// screen triangle (a, b, c), single precision, each channel rounded halves to even.
ColourRGB ClipPointColour(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, const ColourRGB& colourA,
                          const ColourRGB& colourB, const ColourRGB& colourC, const ScreenPoint& p);

}  // namespace maglorin
