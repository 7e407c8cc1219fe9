#include "kit_picture.h"

#include <cstring>
#include <fstream>

#include "image/picture_decoder.h"
#include "image/png_reader.h"
#include "scene/material_textures.h"

namespace maglorin::render_tool {

namespace {

constexpr std::int32_t kKitMaterials = 3;  // materials 0, 1 and 2 carry the kit picture

void PutPicture(Material& material, const DecodedPicture& picture) {
    material.Texture.CreateFromPictureBox(picture, picture.width, picture.height, material.TexturePixels, true);
    material.TextureWork.CreateFromPictureBox(picture, picture.width, picture.height, material.TextureWorkPixels,
                                              true);
    const bool live = material.Texture.Live() && material.TextureWork.Live();
    if (!live) {
        material.Texture.Delete(material.TexturePixels);
        material.TextureWork.Delete(material.TextureWorkPixels);
    }
    material.HasTexture = ToBool16(live);
}

}  // namespace

bool IsPngFile(const std::string& path) {
    static constexpr char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    char start[8] = {};
    std::ifstream file(path, std::ios::binary);
    return file.read(start, sizeof start) && std::memcmp(start, kSignature, sizeof start) == 0;
}

bool DecodeKitPicture(const std::string& path, DecodedPicture& picture, std::string& error) {
    if (IsPngFile(path)) return ReadPngFile(path, picture, error);
    return DecodePictureFile(path, picture, error);
}

void LoadKitPicture(Scene& scene, const std::string& path) {
    if (!IsPngFile(path)) {
        for (std::int32_t k = 0; k < kKitMaterials; ++k) LoadMaterialTexture(scene, k, path);
        return;
    }
    DecodedPicture picture;
    std::string ignored;
    const bool decoded = ReadPngFile(path, picture, ignored) && !picture.Empty();
    for (std::int32_t k = 0; k < kKitMaterials && k <= scene.MaterialUBound; ++k) {
        Material& material = scene.Materials[static_cast<std::size_t>(k)];
        if (decoded) {
            PutPicture(material, picture);
        } else {
            material.HasTexture = kFalse16;
            material.Texture.Delete(material.TexturePixels);
            material.TextureWork.Delete(material.TextureWorkPixels);
        }
    }
}

}  // namespace maglorin::render_tool
