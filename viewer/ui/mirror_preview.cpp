#include "ui/mirror_preview.h"

#include "image/halftone_resampler.h"

namespace maglorin {

namespace {

std::size_t Index(std::int32_t x, std::int32_t y, std::int32_t width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
}

// Copies `source` into `target` at (left, top), mirrored as asked; the block fits by construction.
void CopyBlock(const DecodedPicture& source, bool mirrorX, bool mirrorY, std::int32_t left,
               std::int32_t top, DecodedPicture& target) {
    for (std::int32_t y = 0; y < source.height; ++y) {
        const std::int32_t sy = mirrorY ? source.height - 1 - y : y;
        for (std::int32_t x = 0; x < source.width; ++x) {
            const std::int32_t sx = mirrorX ? source.width - 1 - x : x;
            target.pixels[Index(left + x, top + y, target.width)] = source.At(sx, sy);
        }
    }
}

// The picture stretched to width x height (halftone): used for the halves of mirror 1 and 10.
DecodedPicture Stretched(const DecodedPicture& source, std::int32_t width, std::int32_t height) {
    DecodedPicture result;
    result.width = width;
    result.height = height;
    result.pixels.resize(Index(0, height, width));
    HalftoneResample(source, width, height, false, result.pixels.data());
    return result;
}

}  // namespace

DecodedPicture PictureOfSurface(const clsDIB& surface) {
    DecodedPicture picture;
    const std::uint32_t* words = surface.Data();
    if (words == nullptr) return picture;
    picture.width = surface.Width();
    picture.height = surface.Height();
    picture.pixels.resize(Index(0, picture.height, picture.width));
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::int32_t row = surface.BottomUp() ? picture.height - 1 - y : y;
        for (std::int32_t x = 0; x < picture.width; ++x) {
            picture.pixels[Index(x, y, picture.width)] = words[Index(x, row, picture.width)];
        }
    }
    return picture;
}

bool FillMirrorPreview(const DecodedPicture& texture, std::uint8_t mirror, DecodedPicture& preview) {
    if (texture.Empty()) return false;
    const std::int32_t w = texture.width;
    const std::int32_t h = texture.height;
    if (preview.width != 2 * w || preview.height != 2 * h ||
        preview.pixels.size() != Index(0, 2 * h, 2 * w)) {
        return false;
    }
    switch (mirror) {
    case kMirrorNone:
        HalftoneResample(texture, 2 * w, 2 * h, false, preview.pixels.data());
        return true;
    case kMirrorLeftRight: {
        const DecodedPicture half = Stretched(texture, w, 2 * h);
        CopyBlock(half, false, false, 0, 0, preview);
        CopyBlock(half, true, false, w, 0, preview);
        return true;
    }
    case kMirrorTopBottom: {
        const DecodedPicture half = Stretched(texture, 2 * w, h);
        CopyBlock(half, false, false, 0, 0, preview);
        CopyBlock(half, false, true, 0, h, preview);
        return true;
    }
    case kMirrorBoth:
        CopyBlock(texture, false, false, 0, 0, preview);
        CopyBlock(texture, true, false, w, 0, preview);
        CopyBlock(texture, false, true, 0, h, preview);
        CopyBlock(texture, true, true, w, h, preview);
        return true;
    default:
        return false;
    }
}

DecodedPicture FlippedPreview(const DecodedPicture& preview, std::uint8_t flip) {
    DecodedPicture result;
    if (preview.Empty() || flip > kFlipLeftRight) return result;
    result.width = preview.width;
    result.height = preview.height;
    result.pixels.resize(preview.pixels.size());
    CopyBlock(preview, flip == kFlipLeftRight, flip == kFlipUpsideDown, 0, 0, result);
    return result;
}

bool ApplyPreviewToTextureWork(const DecodedPicture& preview, Material& material) {
    if (material.HasTexture == kFalse16 || !material.TextureWork.Live()) return false;
    const DecodedPicture flipped = FlippedPreview(preview, material.Flip);
    if (flipped.Empty()) return false;
    HalftoneResample(flipped, material.TextureWork.Width(), material.TextureWork.Height(),
                     material.TextureWork.BottomUp(), material.TextureWork.Data());
    return true;
}

}  // namespace maglorin
