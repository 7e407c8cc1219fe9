#pragma once
// stb_image's JPEG decoder, the reference the viewer's decoder is timed against.

#include <cstddef>
#include <cstdint>

namespace maglorin::render_bench {

// Decodes a JPEG held in memory to packed RGB and frees it again; the number of pixels decoded,
// 0 when the decoder refused the data.
std::size_t DecodeJpegWithStb(const std::uint8_t* data, std::size_t size);

}  // namespace maglorin::render_bench
