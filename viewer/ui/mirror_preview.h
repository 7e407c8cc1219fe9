#pragma once
// The material editor's picture work: the doubled preview of a texture with its mirrored copies,
// the flip applied when it is shown or applied, and the copy into the texture the renderer
// samples. Pictures here are top row first; the material's surfaces are bottom row first and are
// converted on the way in and out.

#include <cstdint>

#include "image/decoded_picture.h"
#include "scene/scene.h"

namespace maglorin {

// The picture held by a surface, top row first (empty for an empty surface).
DecodedPicture PictureOfSurface(const clsDIB& surface);

// Mirrored copies of `texture` (W x H) laid into `preview`, which the caller keeps at 2W x 2H:
//   0: the picture stretched over the whole preview (halftone resampling);
//   1: picture on the left half, mirrored left-right on the right half;
//  10: picture on the top half, upside down on the bottom half;
//  11: the four quadrants: as it is, mirrored, upside down, turned by 180 degrees.
// For any other value the preview is left as it is. False when nothing was drawn.
bool FillMirrorPreview(const DecodedPicture& texture, std::uint8_t mirror, DecodedPicture& preview);

// The preview as it is shown and applied: flip 0 as it is, 1 upside down, 2 mirrored left-right.
// Empty for any other value (nothing is drawn).
DecodedPicture FlippedPreview(const DecodedPicture& preview, std::uint8_t flip);

// "Apply" of the mirror group: the flipped preview scaled into the material's TextureWork at its
// own size, so the mapping coordinates stay unchanged. False (nothing copied) when the material
// has no texture or the flip value draws nothing.
bool ApplyPreviewToTextureWork(const DecodedPicture& preview, Material& material);

}  // namespace maglorin
