// Halftone resampling one target row at a time: the same words as resampling the whole picture
// in two passes, an exact copy at the unchanged size, and tall sources that need only the
// memory of the target.
#include "image/halftone_resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace maglorin {
namespace {

// Deterministic noise, so every run and every build compares the same pictures.
DecodedPicture Noise(std::int32_t width, std::int32_t height, std::uint32_t noiseState) {
    DecodedPicture picture{width, height, {}};
    std::uint32_t state = noiseState;
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(width) * height; ++i) {
        state = state * 1664525u + 1013904223u;
        picture.pixels.push_back(state >> 8);
    }
    return picture;
}

// The reference: every source row scaled to the target width first (one buffer of source height
// x target width), then the columns of that buffer scaled to the target height.
std::vector<std::uint32_t> TwoPassReference(const DecodedPicture& source, std::int32_t tw, std::int32_t th,
                                            bool bottomUp) {
    struct Cell {
        std::int32_t source;
        double weight;
    };
    const auto table = [](std::int32_t sourceSize, std::int32_t targetSize) {
        std::vector<std::vector<Cell>> cells(static_cast<std::size_t>(targetSize));
        const double scale = static_cast<double>(sourceSize) / targetSize;
        for (std::int32_t t = 0; t < targetSize; ++t) {
            const double begin = t * scale, end = (t + 1) * scale;
            double total = 0.0;
            const auto last = std::min(sourceSize - 1, static_cast<std::int32_t>(std::ceil(end)) - 1);
            for (auto s = static_cast<std::int32_t>(std::floor(begin)); s <= last; ++s) {
                const double covered = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
                if (covered > 0.0) {
                    cells[t].push_back({s, covered});
                    total += covered;
                }
            }
            for (Cell& c : cells[t]) c.weight /= total;
        }
        return cells;
    };
    const auto columns = table(source.width, tw);
    const auto rows = table(source.height, th);
    const std::size_t length = static_cast<std::size_t>(tw) * 3;
    std::vector<double> wide(static_cast<std::size_t>(source.height) * length);
    for (std::int32_t y = 0; y < source.height; ++y) {
        for (std::int32_t x = 0; x < tw; ++x) {
            for (const Cell& c : columns[x]) {
                const std::uint32_t word = source.At(c.source, y);
                for (int k = 0; k < 3; ++k) {
                    wide[y * length + x * 3 + k] += ((word >> (16 - 8 * k)) & 0xFF) * c.weight;
                }
            }
        }
    }
    std::vector<std::uint32_t> out(static_cast<std::size_t>(tw) * th);
    for (std::int32_t y = 0; y < th; ++y) {
        std::vector<double> sum(length, 0.0);
        for (const Cell& c : rows[y]) {
            for (std::size_t i = 0; i < length; ++i) sum[i] += wide[c.source * length + i] * c.weight;
        }
        const std::int32_t stored = bottomUp ? th - 1 - y : y;
        for (std::int32_t x = 0; x < tw; ++x) {
            std::uint32_t word = 0;
            for (int k = 0; k < 3; ++k) {
                const double v = std::clamp(std::floor(sum[x * 3 + k] + 0.5), 0.0, 255.0);
                word = word << 8 | static_cast<std::uint32_t>(v);
            }
            out[static_cast<std::size_t>(stored) * tw + x] = word;
        }
    }
    return out;
}

TEST(BandedHalftone, GivesTheSameWordsAsTheTwoPassReference) {
    struct Case {
        std::int32_t sw, sh, tw, th;
    };
    const Case cases[] = {
        {64, 48, 16, 12},   // whole-number shrink
        {800, 600, 160, 120},  // the background at the golden-frame size
        {37, 53, 11, 7},    // uneven shrink: target rows share their boundary source rows
        {5, 4, 17, 13},     // enlarging: several target rows from the same source rows
        {7, 90, 30, 4},     // wider but much shorter
        {90, 7, 4, 30},     // narrower but taller
        {1, 1, 3, 5},       // one pixel everywhere
        {13, 1, 13, 9},     // same width, one row enlarged
    };
    for (const Case& c : cases) {
        const DecodedPicture source = Noise(c.sw, c.sh, static_cast<std::uint32_t>(c.sw * 131 + c.sh));
        for (bool bottomUp : {false, true}) {
            std::vector<std::uint32_t> got(static_cast<std::size_t>(c.tw) * c.th, 0xDEADBEEFu);
            HalftoneResample(source, c.tw, c.th, bottomUp, got.data());
            EXPECT_EQ(got, TwoPassReference(source, c.tw, c.th, bottomUp))
                << c.sw << "x" << c.sh << " -> " << c.tw << "x" << c.th << (bottomUp ? " bottom-up" : "");
        }
    }
}

TEST(BandedHalftone, TheUnchangedSizeIsAnExactCopyInEitherRowOrder) {
    DecodedPicture source = Noise(19, 11, 7);
    source.pixels[0] = 0xFFFFFFFFu;  // bits above the colour are not carried into a surface
    source.pixels[5] = 0x00FFFFFFu;
    source.pixels[6] = 0;
    std::vector<std::uint32_t> topDown(19 * 11), bottomUp(19 * 11);
    HalftoneResample(source, 19, 11, false, topDown.data());
    HalftoneResample(source, 19, 11, true, bottomUp.data());
    for (std::int32_t y = 0; y < 11; ++y) {
        for (std::int32_t x = 0; x < 19; ++x) {
            const std::uint32_t expected = source.At(x, y) & 0x00FFFFFFu;
            ASSERT_EQ(topDown[static_cast<std::size_t>(y) * 19 + x], expected) << x << "," << y;
            ASSERT_EQ(bottomUp[static_cast<std::size_t>(10 - y) * 19 + x], expected) << x << "," << y;
        }
    }
    EXPECT_EQ(topDown, TwoPassReference(source, 19, 11, false)) << "the copy is what averaging gave";
}

TEST(BandedHalftone, AVeryTallSourceIsAveragedRowByRow) {
    // 3 x 300,000: the top quarter red, the rest blue, one green row at the very bottom. Resampled
    // to 3 x 4 the quarters come out pure (the green row weighs 1 / 75,000 of the last cell and
    // rounds away).
    constexpr std::int32_t kHeight = 300000;
    DecodedPicture source{3, kHeight, std::vector<std::uint32_t>(3 * kHeight, 0x00FF0000u)};
    std::fill(source.pixels.begin() + 3 * (kHeight / 4), source.pixels.end(), 0x000000FFu);
    std::fill(source.pixels.end() - 3, source.pixels.end(), 0x0000FF00u);
    std::uint32_t out[12] = {};
    HalftoneResample(source, 3, 4, false, out);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(out[x], 0x00FF0000u);
        for (int y = 1; y < 4; ++y) EXPECT_EQ(out[3 * y + x], 0x000000FFu) << y;
    }
    // Down to one pixel: red 255 / 4 = 63.75, blue 255 x 3 / 4 less one row = 191.25.
    std::uint32_t one = 0;
    HalftoneResample(source, 1, 1, false, &one);
    EXPECT_EQ(one, 0x004000BFu);
}

TEST(BandedHalftone, NothingIsWrittenForAnUnusableSourceOrTarget) {
    DecodedPicture broken{4, 4, std::vector<std::uint32_t>(3, 0x123456u)};  // fewer words than 4 x 4
    std::vector<std::uint32_t> out(4, 0xABCDEFu);
    HalftoneResample(broken, 2, 2, false, out.data());
    HalftoneResample(DecodedPicture{}, 2, 2, false, out.data());
    HalftoneResample(Noise(2, 2, 1), 0, 2, false, out.data());
    HalftoneResample(Noise(2, 2, 1), 2, -1, false, out.data());
    EXPECT_EQ(out, std::vector<std::uint32_t>(4, 0xABCDEFu));
}

}  // namespace
}  // namespace maglorin
