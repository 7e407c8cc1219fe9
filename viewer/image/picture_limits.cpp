#include "picture_limits.h"

namespace maglorin {

bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "the picture has no pixels";
        return false;
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        error = "picture too large: " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels (at most " + std::to_string(kMaxPictureSide) + " x " +
                std::to_string(kMaxPictureSide) + " and " + std::to_string(kMaxPicturePixels) +
                " pixels in all)";
        return false;
    }
    return true;
}

}  // namespace maglorin
