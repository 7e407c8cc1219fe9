#pragma once
// Small surfaces for the rasteriser tests: the words live in a vector with guard words before and
// after, so a write outside the surface shows up even without the sanitizers.

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "image/clsDIB.h"
#include "raster/raster_target.h"

namespace maglorin::test_support {

inline constexpr std::uint32_t kGuardWord = 0xA5A5A5A5u;
inline constexpr std::size_t kGuardWords = 64;

class TestSurface {
public:
    TestSurface(std::int32_t width, std::int32_t height, std::uint32_t fill = 0)
        : words_(static_cast<std::size_t>(width * height) + 2 * kGuardWords, kGuardWord) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i) words_[kGuardWords + i] = fill;
        view_ = PixelView{words_.data() + kGuardWords, width, height};
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    const PixelView& View() const { return view_; }
    std::uint32_t At(int x, int y) const { return view_(x, y); }
    bool GuardsIntact() const {
        for (std::size_t i = 0; i < kGuardWords; ++i) {
            if (words_[i] != kGuardWord || words_[words_.size() - 1 - i] != kGuardWord) return false;
        }
        return true;
    }
    // Every (x, y) whose word differs from `background`.
    std::set<std::pair<int, int>> Changed(std::uint32_t background) const {
        std::set<std::pair<int, int>> changed;
        for (int y = 0; y < view_.height; ++y) {
            for (int x = 0; x < view_.width; ++x) {
                if (view_(x, y) != background) changed.insert({x, y});
            }
        }
        return changed;
    }

private:
    std::vector<std::uint32_t> words_;
    PixelView view_;
};

// A texture whose texel (x, y) is 0x00XXYY10 so that a sampled pixel names its texel.
inline void FillTexelNames(const PixelView& texture) {
    for (int y = 0; y < texture.height; ++y) {
        for (int x = 0; x < texture.width; ++x) {
            texture(x, y) = (static_cast<std::uint32_t>(x & 0xFF) << 16) | (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x10u;
        }
    }
}

inline RasterTarget WholeSurface(const TestSurface& surface) {
    return RasterTarget{surface.View(), ClipRect{0, surface.View().width - 1, 0, surface.View().height - 1}};
}

// The pixels of a right triangle with legs along the axes from (x0, y0) with leg length n, edges
// included: x - x0 + y - y0 <= n.
inline std::set<std::pair<int, int>> RightTrianglePixels(int x0, int y0, int n) {
    std::set<std::pair<int, int>> pixels;
    for (int y = y0; y <= y0 + n; ++y) {
        for (int x = x0; x <= x0 + n - (y - y0); ++x) pixels.insert({x, y});
    }
    return pixels;
}

}  // namespace maglorin::test_support
