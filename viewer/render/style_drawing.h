#pragma once
// The drawing routines of the visual styles, shared between the pipeline's files. Each routine
// runs its own lighting pass and draws over the frame.

#include <cstdint>

#include "raster/raster_target.h"
#include "render/modVisualisation.h"
#include "scene/scene.h"

namespace maglorin {

struct FrameContext {
    Scene& scene;
    RenderWork& work;
    RasterTarget target;
};

FrameContext MakeFrameContext(Scene& scene, RenderWork& work);

void DrawDots(FrameContext& frame);
void DrawBoxes(FrameContext& frame);
void DrawWireframe(FrameContext& frame);
void DrawWireframeMap(FrameContext& frame);
void DrawWireframeBFC(FrameContext& frame);
// "Flat", "Gouraud", "Mapped" or "Photo Realistic": back faces first when DoubleSided, then the
// front faces, each list lit and drawn in the painter's order.
void DrawFilledStyle(FrameContext& frame, std::int32_t style);

// One-pixel line without its end point, in `colour`.
void DrawLine(const FrameContext& frame, const ScreenPoint& from, const ScreenPoint& to, const ColourRGB& colour);
// Lines between the clip points 1-2, 3-4, ...
void DrawClipSegments(const FrameContext& frame, const ColourRGB& colour);
// All three corners strictly between FarZ and NearZ.
bool IsFaceDepthInside(const Camera& camera, const MeshObject& mesh, const Face& face);
// The classification of a face against the clip rectangle; the visible part is left in the
// work's clip points.
ClassifyResult ClassifyFaceIn(FrameContext& frame, const MeshObject& mesh, std::int32_t faceIndex, bool useBox,
                              bool lineMode);

}  // namespace maglorin
