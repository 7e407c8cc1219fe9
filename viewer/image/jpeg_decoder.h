#pragma once
// JPEG decoding through libjpeg-turbo, with the accurate integer IDCT so every build of the
// viewer decodes a file to the same pixels.

#include <cstddef>
#include <cstdint>
#include <string>

#include "decoded_picture.h"

namespace maglorin {

// Decodes a JPEG held in memory into `picture`. The size the file claims is checked against the
// picture ceiling before any pixel memory is allocated. False (and `picture` emptied) with the
// reason in `error` for a damaged, unsupported or oversized file.
[[nodiscard]] bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                              std::string& error);

}  // namespace maglorin
