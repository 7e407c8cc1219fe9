// The only place where a picture decoder of stb_image is compiled, and only its BMP and GIF
// readers: every other format it knows is left out, so no other file kind reaches it.
#include "bitmap_gif_decoder.h"

#include <climits>
#include <cstdlib>

#include "picture_limits.h"

#include "stb_warnings_begin.h"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>
#include "stb_warnings_end.h"

namespace maglorin {

bool DecodeBitmapOrGif(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                       std::string& error) {
    picture = DecodedPicture{};
    if (data == nullptr || size == 0 || size > kMaxPictureFileBytes || size > INT_MAX) {
        error = "not a picture of a size the viewer takes";
        return false;
    }
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    // The header alone first: an oversized claim is refused before anything is allocated.
    if (stbi_info_from_memory(data, length, &width, &height, &channels) == 0) {
        const char* reason = stbi_failure_reason();
        error = std::string("not a picture the viewer can read: ") +
                (reason != nullptr ? reason : "unknown format");
        return false;
    }
    // A top-down bitmap gives its height as a negative number.
    if (!PictureSizeAllowed(width, std::abs(static_cast<std::int64_t>(height)), error)) return false;

    unsigned char* rgb = stbi_load_from_memory(data, length, &width, &height, &channels, 3);
    if (rgb == nullptr) {
        const char* reason = stbi_failure_reason();
        error = std::string("damaged picture file: ") + (reason != nullptr ? reason : "unknown");
        return false;
    }
    if (!PictureSizeAllowed(width, height, error)) {
        stbi_image_free(rgb);
        return false;
    }
    FillFromRgbTriples(picture, rgb, width, height);
    stbi_image_free(rgb);
    return true;
}

}  // namespace maglorin
