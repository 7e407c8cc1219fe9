// Picture files in: recognised by content and handed to their decoder. Out: PNG and JPEG through
// stb_image_write.
#include "picture_decoder.h"
#include "bitmap_gif_decoder.h"
#include "jpeg_decoder.h"
#include "picture_format.h"
#include "picture_limits.h"
#include "whole_file_writer.h"

#include <fstream>
#include <new>
#include <system_error>
#include <vector>

#include "stb_warnings_begin.h"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#include "stb_warnings_end.h"

namespace maglorin {

namespace {

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
    if (size == 0) {
        error = "the picture file is empty";
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
    bool decoded = false;
    try {
        switch (SniffPictureFormat(data, size)) {
            case PictureFormat::Jpeg:
                decoded = DecodeJpeg(data, size, picture, error);
                break;
            case PictureFormat::Bmp:
            case PictureFormat::Gif:
                decoded = DecodeBitmapOrGif(data, size, picture, error);
                break;
            case PictureFormat::Unknown:
                error = "not a picture the viewer can read (JPEG, BMP or GIF)";
                return false;
        }
    } catch (const std::bad_alloc&) {
        // A picture within the ceiling can still be more than a 32-bit process has free.
        error = "not enough memory for the picture";
        decoded = false;
    }
    // A decoder that reports success without pixels has still given no picture.
    if (decoded && (picture.Empty() || picture.pixels.size() != static_cast<std::size_t>(picture.width) *
                                                                  static_cast<std::size_t>(picture.height))) {
        error = "the picture has no pixels";
        decoded = false;
    }
    if (!decoded) picture = DecodedPicture{};
    return decoded;
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
