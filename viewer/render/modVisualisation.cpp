#include "render/modVisualisation.h"

#include <algorithm>
#include <cstring>

#include "raster/modColor.h"
#include "raster/rounding.h"
#include "raster/system_drawing.h"
#include "render/face_access.h"
#include "render/style_drawing.h"

namespace maglorin {

FrameContext MakeFrameContext(Scene& scene, RenderWork& work) {
    const ClipRect clip{scene.ClipLeft, scene.ClipRight, scene.ClipTop, scene.ClipBottom};
    return FrameContext{scene, work, RasterTarget{scene.FramePixels, clip}};
}

bool IsDepthInside(const Camera& camera, float z) { return camera.FarZ < z && z < camera.NearZ; }

bool IsPointOnScreen(const Scene& scene, const ScreenPoint& p) {
    return scene.ClipLeft < p.x && p.x < scene.ClipRight && scene.ClipTop < p.y && p.y < scene.ClipBottom;
}

bool IsFaceDepthInside(const Camera& camera, const MeshObject& mesh, const Face& face) {
    return IsDepthInside(camera, VertexAt(mesh, face.A).ViewPosition.z) &&
           IsDepthInside(camera, VertexAt(mesh, face.B).ViewPosition.z) &&
           IsDepthInside(camera, VertexAt(mesh, face.C).ViewPosition.z);
}

namespace {

bool InsideClip(const ClipRect& clip, const ScreenPoint& p) {
    return p.x >= clip.Left && p.x <= clip.Right && p.y >= clip.Top && p.y <= clip.Bottom;
}

bool IsOrigin(const ScreenPoint& p) { return p.x == 0 && p.y == 0; }

}  // namespace

ClassifyResult ClassifyFaceIn(FrameContext& frame, const MeshObject& mesh, std::int32_t faceIndex, bool useBox,
                              bool lineMode) {
    // Most faces of a frame lie wholly inside the rectangle; the clipper's answer for them is
    // known without its corner tests and segment clipping: no rectangle corner can lie strictly
    // inside such a triangle, and no edge is out or clipped away (unless it runs from (0, 0) to
    // (0, 0), which the clipper counts as empty, so that case goes the long way).
    if (!useBox) {
        const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
        const ClipRect& clip = frame.target.clip;
        const ScreenPoint& p = PointAt(mesh, face.A);
        const ScreenPoint& q = PointAt(mesh, face.B);
        const ScreenPoint& r = PointAt(mesh, face.C);
        const bool emptyEdge = (IsOrigin(p) && IsOrigin(q)) || (IsOrigin(q) && IsOrigin(r)) || (IsOrigin(r) && IsOrigin(p));
        if (InsideClip(clip, p) && InsideClip(clip, q) && InsideClip(clip, r) && !emptyEdge) {
            ClipPointList& points = frame.work.clipPoints;
            points.assign({ScreenPoint{0, 0}, p, q, r});
            return kWhollyInside;
        }
    }
    return ClassifyFace(mesh, faceIndex, useBox, lineMode, frame.target.clip, frame.work.clipPoints);
}

void DrawLine(const FrameContext& frame, const ScreenPoint& from, const ScreenPoint& to, const ColourRGB& colour) {
    DrawSystemLine(frame.target.frame, from, to, ColourToSystem(colour));
}

void DrawClipSegments(const FrameContext& frame, const ColourRGB& colour) {
    const ClipPointList& points = frame.work.clipPoints;
    const std::size_t last = points.empty() ? 0 : points.size() - 1;  // the upper index
    for (std::size_t i = 1; i + 1 <= last; i += 2) DrawLine(frame, points[i], points[i + 1], colour);
}

ColourRGB ClipPointColour(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, const ColourRGB& colourA,
                          const ColourRGB& colourB, const ColourRGB& colourC, const ScreenPoint& p) {
    const float x0 = static_cast<float>(a.x), y0 = static_cast<float>(a.y);
    const float x1 = static_cast<float>(b.x), y1 = static_cast<float>(b.y);
    const float x2 = static_cast<float>(c.x), y2 = static_cast<float>(c.y);
    const float xp = static_cast<float>(p.x), yp = static_cast<float>(p.y);
    const float d = (y2 - y0) * (x1 - x0) - (y1 - y0) * (x2 - x0);
    const float k = SafeDivide(1.0f, d);
    const float wA = ((x1 - xp) * (y2 - yp) - (x2 - xp) * (y1 - yp)) * k;
    const float wB = ((y0 - yp) * (x2 - xp) - (x0 - xp) * (y2 - yp)) * k;
    const float wC = 1.0f - (wA + wB);
    const auto channel = [&](std::int16_t ca, std::int16_t cb, std::int16_t cc) {
        const float value = static_cast<float>(cb) * wB + static_cast<float>(ca) * wA + static_cast<float>(cc) * wC;
        return RoundToInt16(value);
    };
    return ColourRGB{channel(colourA.red, colourB.red, colourC.red),
                     channel(colourA.green, colourB.green, colourC.green),
                     channel(colourA.blue, colourB.blue, colourC.blue)};
}

void StartFrame(Scene& scene) {
    PixelView& frame = scene.FramePixels;
    if (!frame.Attached()) return;
    const std::size_t frameWords = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
    const PixelView& background = scene.BackgroundPixels;
    if (scene.UseBackground == 0 || !background.Attached()) {
        std::memset(frame.data, 0, frameWords * sizeof(std::uint32_t));
        return;
    }
    // The block copy covers CanvasWidth x CanvasHeight, as far as both surfaces reach.
    const std::int32_t width = std::min({scene.CanvasWidth, frame.width, background.width});
    const std::int32_t height = std::min({scene.CanvasHeight, frame.height, background.height});
    if (width == frame.width && width == background.width && height == frame.height) {
        std::memcpy(frame.data, background.data, frameWords * sizeof(std::uint32_t));
        return;
    }
    std::memset(frame.data, 0, frameWords * sizeof(std::uint32_t));
    for (std::int32_t y = 0; y < height; ++y) {
        std::memcpy(&frame(0, y), &background(0, y), static_cast<std::size_t>(std::max(width, 0)) * 4);
    }
}

void DrawStyle(Scene& scene, RenderWork& work) {
    if (!scene.FramePixels.Attached()) return;
    FrameContext frame = MakeFrameContext(scene, work);
    switch (scene.CurrentStyle) {
        case kStyleDot: DrawDots(frame); break;
        case kStyleBox: DrawBoxes(frame); break;
        case kStyleWireframe: DrawWireframe(frame); break;
        case kStyleWireframeMap: DrawWireframeMap(frame); break;
        case kStyleWireframeBFC: DrawWireframeBFC(frame); break;
        case kStyleFlat:
        case kStyleGouraud:
        case kStyleMapped:
        case kStylePhotoRealistic: DrawFilledStyle(frame, scene.CurrentStyle); break;
        default: break;  // any other value draws nothing
    }
}

void RenderFrame(Scene& scene, RenderWork& work) {
    if (!scene.FramePixels.Attached()) return;
    StartFrame(scene);
    DrawStyle(scene, work);
}

void RenderFrame(Scene& scene) {
    RenderWork work;
    RenderFrame(scene, work);
}

}  // namespace maglorin
