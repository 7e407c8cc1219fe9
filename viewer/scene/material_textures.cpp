#include "scene/material_textures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "image/picture_decoder.h"

namespace maglorin {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t LastSeparator(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) return i - 1;
    }
    return std::string::npos;
}

// Nearest multiple of 0.000001, halves to even, of a value in -1..1.
double RoundToSixPlaces(double value) {
    const double scaled = value * 1000000.0;
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) whole = below + 1.0;
    return whole / 1000000.0;
}

void DropTexture(Material& material) {
    material.HasTexture = kFalse16;
    material.Texture.Delete(material.TexturePixels);
    material.TextureWork.Delete(material.TextureWorkPixels);
}

bool InTable(std::int32_t index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error) || error) return false;
    const auto size = std::filesystem::file_size(file, error);
    return !error && size != 0;
}

std::string FolderOf(const std::string& path) {
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNameOf(const std::string& path) {
    if (path.empty()) return "-";
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

void LoadMaterialTexture(Scene& scene, std::int32_t materialIndex, const std::string& path) {
    if (materialIndex < 0 || materialIndex > scene.MaterialUBound ||
        !InTable(materialIndex, scene.Materials.size())) {
        return;
    }
    Material& material = scene.Materials[static_cast<std::size_t>(materialIndex)];
    if (!FileExists(path)) {
        material.HasTexture = kFalse16;
        return;
    }
    DecodedPicture picture;
    std::string reason;
    if (!DecodePictureFile(path, picture, reason) || picture.Empty()) {
        DropTexture(material);
        return;
    }
    // Both surfaces start as the same picture; the material editor mirrors the working one.
    material.Texture.CreateFromPictureBox(picture, picture.width, picture.height, material.TexturePixels, true);
    material.TextureWork.CreateFromPictureBox(picture, picture.width, picture.height, material.TextureWorkPixels,
                                              true);
    if (!material.Texture.Live() || !material.TextureWork.Live()) {
        DropTexture(material);
        return;
    }
    material.HasTexture = kTrue16;
}

std::string BrowsePicture(const PictureDialog& dialog, const std::string& initDir, const std::string& title) {
    if (!dialog) return std::string();
    PictureDialogRequest request;
    request.Filter = kPictureFilter;
    request.DialogTitle = title;
    request.InitDir = initDir;
    return dialog(request);
}

RoundedTurn RoundedCosSin(float degrees) {
    const float radians = static_cast<float>(degrees * 0.0174532925199433);
    const double angle = radians;
    return RoundedTurn{static_cast<float>(RoundToSixPlaces(std::cos(angle))),
                       static_cast<float>(RoundToSixPlaces(std::sin(angle)))};
}

void MapFaceTexCoords(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex) {
    if (!InTable(meshIndex, scene.Meshes.size())) return;
    MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(meshIndex)];
    if (mesh.HasTexCoords == kFalse16 || !InTable(faceIndex, mesh.Faces.size())) return;
    const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
    if (face.Material > scene.MaterialUBound || !InTable(face.Material, scene.Materials.size())) return;
    const Material& material = scene.Materials[static_cast<std::size_t>(face.Material)];
    if (material.HasTexture == kFalse16 || !material.TextureWorkPixels.Attached()) return;

    const float w = static_cast<float>(material.TextureWorkPixels.width - 1);
    const float h = static_cast<float>(material.TextureWorkPixels.height - 1);
    const float a = material.UScale * w;
    const float b = material.VScale * h;
    const float c = -material.UOffset * w;
    const float d = -material.VOffset * h;
    const bool turn = material.Rotation != 0.0f;
    const RoundedTurn rotation = turn ? RoundedCosSin(material.Rotation) : RoundedTurn{};

    const std::size_t count = std::min(mesh.TexCoords.size(), mesh.MappedTexCoords.size());
    for (const std::int32_t i : {face.A, face.B, face.C}) {
        if (!InTable(i, count)) continue;
        const TexCoord& source = mesh.TexCoords[static_cast<std::size_t>(i)];
        TexCoord mapped{a * source.u + c, b * source.v + d};
        if (turn) {
            const float u = mapped.u;
            const float v = mapped.v;
            mapped = TexCoord{rotation.cs * u - rotation.sn * v, rotation.cs * v + rotation.sn * u};
        }
        mesh.MappedTexCoords[static_cast<std::size_t>(i)] = mapped;
    }
}

}  // namespace maglorin
