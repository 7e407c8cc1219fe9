#pragma once
// The drawable pixel range of the canvas: columns Left..Right and rows Top..Bottom, both ends
// included (Right and Bottom are the last pixel indices of the canvas).

#include <cstdint>

namespace maglorin {

struct ClipRect {
    std::int32_t Left = 0;
    std::int32_t Right = 0;
    std::int32_t Top = 0;
    std::int32_t Bottom = 0;
};

}  // namespace maglorin
