// The one place where the stb picture libraries are compiled.
#include "picture_decoder.h"
#include "whole_file_writer.h"

#include <climits>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wduplicated-branches"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#endif
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace maglorin {

namespace {

// Pictures above this many pixels, or files above this size, are refused rather than risking a
// huge allocation.
constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr std::uintmax_t kMaxPictureFileBytes = 256ULL * 1024 * 1024;

bool TakeDecoded(unsigned char* rgb, int width, int height, DecodedPicture& picture,
                 std::string& error) {
    if (rgb == nullptr) {
        const char* reason = stbi_failure_reason();
        error = reason != nullptr ? reason : "cannot decode the picture";
        return false;
    }
    if (static_cast<std::int64_t>(width) * height > kMaxPicturePixels) {
        stbi_image_free(rgb);
        error = "picture too large";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const unsigned char* p = rgb + i * 3;
        picture.pixels[i] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
    stbi_image_free(rgb);
    return true;
}

// 0x00RRGGBB words to packed RGB bytes, the layout the stb writers take.
std::vector<unsigned char> PackRgb(const DecodedPicture& picture) {
    std::vector<unsigned char> rgb(picture.pixels.size() * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t word = picture.pixels[i];
        rgb[i * 3 + 0] = static_cast<unsigned char>((word >> 16) & 0xFF);
        rgb[i * 3 + 1] = static_cast<unsigned char>((word >> 8) & 0xFF);
        rgb[i * 3 + 2] = static_cast<unsigned char>(word & 0xFF);
    }
    return rgb;
}

bool Writable(const DecodedPicture& picture) {
    return !picture.Empty() && picture.pixels.size() == static_cast<std::size_t>(picture.width) *
                                                            static_cast<std::size_t>(picture.height);
}

// The stb writers hand their output over in pieces; collect them.
void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool DecodePictureFile(const std::filesystem::path& path, DecodedPicture& picture,
                       std::string& error) {
    picture = DecodedPicture{};
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sizeError) {
        error = "cannot open the picture file";
        return false;
    }
    if (size > kMaxPictureFileBytes) {
        error = "picture file too large";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file || !file.read(reinterpret_cast<char*>(bytes.data()),
                            static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read the picture file";
        return false;
    }
    return DecodePictureMemory(bytes.data(), bytes.size(), picture, error);
}

bool DecodePictureMemory(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                         std::string& error) {
    picture = DecodedPicture{};
    if (size > static_cast<std::size_t>(INT_MAX)) {
        error = "picture too large";
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* rgb =
        stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 3);
    return TakeDecoded(rgb, width, height, picture, error);
}

bool WritePicturePng(const std::filesystem::path& path, const DecodedPicture& picture) {
    if (!Writable(picture)) {
        return false;
    }
    const std::vector<unsigned char> rgb = PackRgb(picture);
    std::vector<std::uint8_t> encoded;
    const bool ok = stbi_write_png_to_func(AppendBytes, &encoded, picture.width, picture.height, 3,
                                           rgb.data(), picture.width * 3) != 0;
    return ok && WriteWholeFile(path, encoded) == WholeFileResult::Written;
}

bool WritePictureJpeg(const std::filesystem::path& path, const DecodedPicture& picture,
                      int quality) {
    if (!Writable(picture)) {
        return false;
    }
    const std::vector<unsigned char> rgb = PackRgb(picture);
    std::vector<std::uint8_t> encoded;
    const bool ok = stbi_write_jpg_to_func(AppendBytes, &encoded, picture.width, picture.height,
                                           3, rgb.data(), quality) != 0;
    return ok && WriteWholeFile(path, encoded) == WholeFileResult::Written;
}

}  // namespace maglorin
