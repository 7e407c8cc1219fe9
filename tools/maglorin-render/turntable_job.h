#pragma once
// A turntable: N frames turning the model once about its vertical axis, each written as a
// numbered .png. Frame i adds i * 360 / N degrees to the Y rotation the options give, so frame 0
// is the single frame of the same options. Frames are rendered on worker threads, each frame in
// a scene of its own copied from the one prepared scene (see frame_scene.h).

#include <string>

#include "parallel_frames.h"
#include "render_options.h"
#include "scene/scene.h"

namespace maglorin::render_tool {

// Y rotation in degrees of frame `index` of `count` over `baseY` (computed in double).
float TurntableAngle(float baseY, int index, int count);

// Renders frame `index` of `count` of the prepared scene into `frame` (a fresh Scene).
void RenderTurntableFrame(const Scene& prepared, int index, int count, Scene& frame);

// Prepares the scene once and writes every frame to its file; `progress` may be empty.
// Exit code as RunRender's; messages go to standard error.
[[nodiscard]] int RenderTurntable(const RenderOptions& options, const std::string& programFolder,
                                  const FrameProgress& progress);

// RenderTurntable with a progress line on standard error when that is a terminal.
[[nodiscard]] int RunTurntable(const RenderOptions& options, const std::string& programFolder);

}  // namespace maglorin::render_tool
