#pragma once
// The pictures of a render (kit picture, background): the types the viewer takes (JPEG, BMP,
// GIF) and, for the render tool only, PNG files such as the kit template, so a catalogue can show
// the template on the model too. The viewer itself keeps to its own picture types.

#include <cstdint>
#include <string>

#include "image/decoded_picture.h"
#include "scene/scene.h"

namespace maglorin::render_tool {

// True when the file starts with the PNG signature.
bool IsPngFile(const std::string& path);

// Decodes the picture at `path` (PNG, or what the viewer reads); false with the reason.
[[nodiscard]] bool DecodeKitPicture(const std::string& path, DecodedPicture& picture, std::string& error);

// Puts the kit picture at `path` on materials 0, 1 and 2, the way the viewer loads a texture
// (both surfaces at the picture's own size, bottom row first). A file that cannot be decoded
// leaves those materials untextured, as in the viewer.
void LoadKitPicture(Scene& scene, const std::string& path);

}  // namespace maglorin::render_tool
