#include "sample_kit.h"

#include <filesystem>
#include <system_error>

#include "image/picture_decoder.h"
#include "kit_model.h"
#include "kit_pictures.h"
#include "scene/model_writer.h"

namespace maglorin::samples {

namespace {

constexpr int kJpegQuality = 90;

bool Written(bool ok, const std::filesystem::path& path, std::string& error) {
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        error = "cannot write " + path.string();
    }
    return ok;
}

}  // namespace

std::vector<std::uint8_t> KitModelBytes() { return Write3DS(BuildKitModel(kHomeKitFile)); }

bool WriteSampleKit(const std::string& folder, std::string& error) {
    const std::filesystem::path base(folder);
    const auto path = [&](const char* name) { return base / name; };
    return Written(WriteFileBytes(path(kModelFile).string(), KitModelBytes()), path(kModelFile),
                   error) &&
           Written(WritePictureJpeg(path(kBackgroundFile).string(),
                                    MakeBackground(kBackgroundWidth, kBackgroundHeight),
                                    kJpegQuality),
                   path(kBackgroundFile), error) &&
           Written(WritePictureJpeg(path(kHomeKitFile).string(), MakeHomeKit(kTextureSize),
                                    kJpegQuality),
                   path(kHomeKitFile), error) &&
           Written(WritePictureJpeg(path(kAwayKitFile).string(), MakeAwayKit(kTextureSize),
                                    kJpegQuality),
                   path(kAwayKitFile), error) &&
           Written(WritePicturePng(path(kTemplateFile).string(),
                                   MakeKitTemplate(BuildKitModel(kHomeKitFile), kTextureSize)),
                   path(kTemplateFile), error);
}

}  // namespace maglorin::samples
