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

}  // namespace maglorin
