#pragma once
// Decoding of BMP (and DIB) files and of the first frame of GIF files.

#include <cstddef>
#include <cstdint>
#include <string>

#include "decoded_picture.h"

namespace maglorin {

// Decodes a BMP or GIF picture held in memory into `picture`. The size the file claims is read
// and checked against the picture ceiling before any pixel memory is allocated. False (and
// `picture` emptied) with the reason in `error`.
[[nodiscard]] bool DecodeBitmapOrGif(const std::uint8_t* data, std::size_t size,
                                     DecodedPicture& picture, std::string& error);

}  // namespace maglorin
