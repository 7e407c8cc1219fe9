#pragma once
// Area-averaging ("halftone") resampling of a decoded picture to another size: each target pixel
// is the average of the source pixels it covers, weighted by the covered area.

#include <cstdint>

#include "decoded_picture.h"

namespace maglorin {

// Scales `source` to targetWidth x targetHeight and writes the result into `target`, a block of
// targetWidth x targetHeight words with rows of targetWidth words. `bottomUp` stores the
// picture's bottom row first. Nothing is written when either picture is empty.
void HalftoneResample(const DecodedPicture& source, std::int32_t targetWidth,
                      std::int32_t targetHeight, bool bottomUp, std::uint32_t* target);

}  // namespace maglorin
