#pragma once
// Recognising the kind of a picture file by its first bytes, whatever its name says.

#include <cstddef>
#include <cstdint>

namespace maglorin {

// The picture kinds the viewer decodes itself. Everything else is Unknown (and is refused).
enum class PictureFormat { Unknown, Jpeg, Bmp, Gif };

PictureFormat SniffPictureFormat(const std::uint8_t* data, std::size_t size);

}  // namespace maglorin
