#pragma once
// One headless frame: the scene set up the way the window sets it up when a kit is opened (model
// read and fitted, the materials' own textures, the kit picture on materials 0, 1 and 2, canvas
// and background at the chosen size), the options applied, the vertices projected, the frame
// rendered and written to a file.

#include <string>

#include "image/decoded_picture.h"
#include "render_options.h"
#include "scene/scene.h"

namespace maglorin::render_tool {

// Exit codes of maglorin-render.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an input could not be read or the output not written
inline constexpr int kExitUsage = 2;

// Canvas of width x height: both surfaces, the viewport and the centre, the background picture
// (empty path: black) scaled to the canvas with the halftone resampler. False with a reason when
// the picture cannot be read or a surface cannot be made.
bool SizeCanvas(Scene& scene, int width, int height, const std::string& backgroundPath, std::string& error);

// Reads and fits the model, loads its own textures, then the kit picture (when given) on
// materials 0, 1 and 2, and applies style, transform, camera and switches. `programFolder` ends
// with a separator; it supplies the default model and background.
bool PrepareScene(Scene& scene, const RenderOptions& options, const std::string& programFolder, std::string& error);

// Projects and renders the prepared scene into its FrameSurface.
void RenderPreparedFrame(Scene& scene);

// Writes the frame as a 24-bit .bmp or a .png (chosen by the extension); the file appears only
// when complete.
bool WriteFrame(const Scene& scene, const std::string& path, std::string& error);

// The frame's pixels as a picture; false when the scene has no frame surface.
[[nodiscard]] bool FramePicture(const Scene& scene, DecodedPicture& picture);

// Writes `picture` as a .png under a temporary name beside `path` and renames it: `path` appears
// only when complete, and an old file there survives a failed write.
[[nodiscard]] bool WritePngAtomically(const DecodedPicture& picture, const std::string& path, std::string& error);

// The whole program after the command line was parsed; messages go to standard error.
int RunRender(const RenderOptions& options, const std::string& programFolder);

}  // namespace maglorin::render_tool
