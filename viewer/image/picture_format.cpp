#include "picture_format.h"

#include <cstring>

namespace maglorin {

namespace {

bool StartsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

}  // namespace

PictureFormat SniffPictureFormat(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return PictureFormat::Unknown;
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
    // A bitmap file header is 14 bytes, followed by at least the 12-byte core header.
    if (StartsWith(data, size, "BM", 2) && size >= 26) return PictureFormat::Bmp;
    if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) {
        return PictureFormat::Gif;
    }
    return PictureFormat::Unknown;
}

}  // namespace maglorin
