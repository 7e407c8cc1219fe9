#pragma once
// A picture decoded from a file, ready to be drawn into a surface.

#include <cstdint>
#include <string>
#include <vector>

namespace maglorin {

// Width x Height words 0x00RRGGBB, top row first, rows of exactly Width words.
struct DecodedPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    std::uint32_t At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Fills the picture from packed 8-bit R, G, B triples, top row first (as stb's readers hand them
// out); the dimensions were checked by the caller.
inline void FillFromRgbTriples(DecodedPicture& picture, const unsigned char* rgb, std::int32_t width,
                               std::int32_t height) {
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const unsigned char* p = rgb + i * 3;
        picture.pixels[i] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
}

}  // namespace maglorin
