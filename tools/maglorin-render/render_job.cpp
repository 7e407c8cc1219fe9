#include "render_job.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "geometry/projection.h"
#include "geometry/view_control.h"
#include "image/clsFileBMP.h"
#include "image/picture_decoder.h"
#include "kit_picture.h"
#include "render/modVisualisation.h"
#include "scene/clsFile3DS.h"
#include "scene/material_textures.h"

namespace maglorin::render_tool {

namespace {

std::int32_t HalfToEven(std::int32_t twice) {
    // round(twice / 2) with halves to even, for twice >= 0
    std::int32_t half = twice / 2;
    if (twice % 2 != 0 && half % 2 != 0) ++half;
    return half;
}

std::string Extension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool CheckPicture(const std::string& path, const char* what, std::string& error) {
    if (!FileExists(path)) {
        error = std::string("cannot read the ") + what + " '" + path + "': missing or empty";
        return false;
    }
    DecodedPicture picture;
    std::string reason;
    if (!DecodeKitPicture(path, picture, reason)) {
        error = std::string("cannot read the ") + what + " '" + path + "': " + reason;
        return false;
    }
    return true;
}

void ApplyView(Scene& scene, const RenderOptions& options) {
    scene.ModelRotation = Vec4{options.rotate.x, options.rotate.y, options.rotate.z, 1.0f};
    const float s = options.scale;
    scene.ModelScale = Vec4{scene.FitScale.x * s, scene.FitScale.y * s, scene.FitScale.z * s, 1.0f};
    scene.ModelTranslation = Vec4{scene.FitTranslation.x + options.translate.x,
                                  scene.FitTranslation.y + options.translate.y,
                                  scene.FitTranslation.z + options.translate.z, 1.0f};
    Camera& camera = scene.Camera;
    const bool cameraMoved = options.cameraPosition || options.cameraTarget || options.roll;
    if (options.cameraPosition) camera.Position = Vec4{options.cameraPosition->x, options.cameraPosition->y,
                                                       options.cameraPosition->z, 1.0f};
    if (options.cameraTarget) camera.Target = Vec4{options.cameraTarget->x, options.cameraTarget->y,
                                                   options.cameraTarget->z, 1.0f};
    if (options.roll) camera.Roll = *options.roll;
    if (options.focal) camera.FocalLength = *options.focal;
    if (cameraMoved) UpdateCameraUp(camera);
    scene.LightOn = ToBool16(options.light);
    scene.DoubleSided = ToBool16(options.backfaces);
}

}  // namespace

bool SizeCanvas(Scene& scene, int width, int height, const std::string& backgroundPath, std::string& error) {
    scene.CanvasWidth = width;
    scene.CanvasHeight = height;
    scene.CentreX = HalfToEven(width);
    scene.CentreY = HalfToEven(height);
    scene.FrameSurface.Create(width, height, scene.FramePixels, false);
    if (!scene.FrameSurface.Live()) {
        error = "cannot make a frame of " + std::to_string(width) + "x" + std::to_string(height) + " pixels";
        return false;
    }
    if (backgroundPath.empty()) {
        scene.BackgroundSurface.Create(width, height, scene.BackgroundPixels, false);
    } else {
        DecodedPicture picture;
        std::string reason;
        if (!DecodeKitPicture(backgroundPath, picture, reason)) {
            error = "cannot read the background '" + backgroundPath + "': " + reason;
            return false;
        }
        scene.BackgroundSurface.CreateFromPictureBox(picture, width, height, scene.BackgroundPixels, false);
    }
    if (!scene.BackgroundSurface.Live()) {
        error = "cannot make the background surface";
        return false;
    }
    scene.ClipLeft = 0;
    scene.ClipTop = 0;
    scene.ClipRight = width - 1;
    scene.ClipBottom = height - 1;
    scene.UseBackground = kBackgroundShown;
    return true;
}

bool PrepareScene(Scene& scene, const RenderOptions& options, const std::string& programFolder, std::string& error) {
    const std::string modelPath = options.model.empty() ? programFolder + "kit.3ds" : options.model;
    std::string backgroundPath = options.background;
    if (backgroundPath.empty() && FileExists(programFolder + "BG.jpg")) backgroundPath = programFolder + "BG.jpg";
    if (!options.background.empty() && !CheckPicture(options.background, "background", error)) return false;
    if (!options.texture.empty() && !CheckPicture(options.texture, "texture", error)) return false;
    // The viewport comes first: the fit scales the model to the canvas height.
    if (!SizeCanvas(scene, options.width, options.height, backgroundPath, error)) return false;

    clsFile3DS reader(scene);
    scene.ModelFolder = FolderOf(modelPath);
    if (!FileExists(modelPath)) {
        error = "cannot read the model '" + modelPath + "': missing or empty";
        return false;
    }
    if (!reader.Read3DS(modelPath)) {
        error = "cannot read the model '" + modelPath + "': " + reader.LastError();
        return false;
    }
    scene.ModelLoaded = kTrue16;
    FitModelToView(scene);
    for (std::int32_t k = 0; k <= scene.MaterialUBound; ++k) {
        const std::string& file = scene.Materials[static_cast<std::size_t>(k)].TextureFile;
        if (!file.empty()) LoadMaterialTexture(scene, k, scene.ModelFolder + file);
    }
    scene.CurrentStyle = kStyleGouraud;
    if (!options.texture.empty()) {
        LoadKitPicture(scene, options.texture);
        scene.CurrentStyle = kStyleMapped;
    }
    if (options.style) scene.CurrentStyle = *options.style;
    ApplyView(scene, options);
    return true;
}

void RenderPreparedFrame(Scene& scene) {
    ProjectVertices(scene);
    RenderFrame(scene);
}

bool WriteFrame(const Scene& scene, const std::string& path, std::string& error) {
    const std::string ext = Extension(path);
    if (ext == ".bmp") {
        clsFileBMP writer;
        if (!writer.WriteBMP24(path, scene.FrameSurface, scene.ClipRight, scene.ClipBottom)) {
            error = "cannot write '" + path + "': " + writer.LastError();
            return false;
        }
        return true;
    }
    if (ext != ".png") {
        error = "cannot write '" + path + "': the output must end in .bmp or .png";
        return false;
    }
    DecodedPicture picture;
    if (!FramePicture(scene, picture)) {
        error = "no frame to write";
        return false;
    }
    return WritePngAtomically(picture, path, error);
}

bool FramePicture(const Scene& scene, DecodedPicture& picture) {
    const std::uint32_t* words = scene.FrameSurface.Data();
    if (words == nullptr) return false;
    picture.width = scene.FrameSurface.Width();
    picture.height = scene.FrameSurface.Height();
    picture.pixels.assign(words, words + static_cast<std::size_t>(picture.width) * picture.height);
    return true;
}

bool WritePngAtomically(const DecodedPicture& picture, const std::string& path, std::string& error) {
    // Written beside the target and renamed, so a failed write leaves no partial picture.
    const std::string partial = path + ".partial";
    std::error_code ignored;
    if (!WritePicturePng(partial, picture)) {
        std::filesystem::remove(partial, ignored);
        error = "cannot write '" + path + "'";
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        std::filesystem::remove(partial, ignored);
        error = "cannot write '" + path + "': " + renamed.message();
        return false;
    }
    return true;
}

int RunRender(const RenderOptions& options, const std::string& programFolder) {
    Scene scene;
    std::string error;
    if (!PrepareScene(scene, options, programFolder, error)) {
        std::fprintf(stderr, "maglorin-render: %s\n", error.c_str());
        return kExitFailed;
    }
    RenderPreparedFrame(scene);
    if (!WriteFrame(scene, options.out, error)) {
        std::fprintf(stderr, "maglorin-render: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("%s: %dx%d, style \"%s\"\n", options.out.c_str(), options.width, options.height,
                StyleCaption(scene.CurrentStyle));
    return kExitOk;
}

}  // namespace maglorin::render_tool
