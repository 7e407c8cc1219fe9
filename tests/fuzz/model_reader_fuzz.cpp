// The 3DS reader on any bytes, and every model it accepts drawn in all nine styles, straight on
// and turned, with a small kit texture on the first three materials: no read past a table, no
// crash in the fit, the projection, the clipper or the fillers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz_scratch.h"
#include "geometry/projection.h"
#include "image/picture_decoder.h"
#include "render/modVisualisation.h"
#include "render_job.h"
#include "scene/byte_source.h"
#include "scene/clsFile3DS.h"
#include "scene/material_textures.h"

namespace {

using namespace maglorin;

constexpr int kCanvasWidth = 96;
constexpr int kCanvasHeight = 72;

// A 16 x 8 kit picture written once per process with our own picture writer, in the scratch
// folder (removed with it at exit).
const std::string& TexturePath() {
    static const std::string path = [] {
        const std::filesystem::path file = test_support::ScratchFolder() / "kit.png";
        DecodedPicture picture;
        picture.width = 16;
        picture.height = 8;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                picture.pixels.push_back(static_cast<std::uint32_t>((x * 16) << 16 | (y * 32) << 8 | 0x40));
            }
        }
        if (!WritePicturePng(file, picture)) {
            std::abort();  // the harness itself is broken
        }
        return file.string();
    }();
    return path;
}

void RenderEveryStyle(Scene& scene) {
    for (float turn : {0.0f, 97.0f}) {
        scene.ModelRotation = Vec4{turn, turn * 0.5f, 0.0f, 1.0f};
        for (std::int32_t style = kStyleDot; style <= kStylePhotoRealistic; ++style) {
            scene.CurrentStyle = style;
            scene.DoubleSided = ToBool16(style % 2 == 0);
            ProjectVertices(scene);
            RenderFrame(scene);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto scene = std::make_unique<Scene>();
    std::string error;
    if (!render_tool::SizeCanvas(*scene, kCanvasWidth, kCanvasHeight, "", error)) {
        std::abort();
    }
    clsFile3DS reader(*scene);
    MemoryByteSource source(data, size);
    if (!reader.Read3DSFrom(source)) {
        return 0;
    }
    scene->ModelLoaded = kTrue16;
    FitModelToView(*scene);
    for (std::int32_t k = 0; k <= 2; ++k) {
        LoadMaterialTexture(*scene, k, TexturePath());
    }
    RenderEveryStyle(*scene);
    return 0;
}
