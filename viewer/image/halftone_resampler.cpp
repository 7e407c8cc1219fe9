#include "halftone_resampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace maglorin {

namespace {

struct Contribution {
    std::int32_t source = 0;
    double weight = 0.0;
};

// For each of the `targetSize` cells, the source cells it covers and the covered fraction,
// normalised so that each cell's weights sum to 1.
std::vector<std::vector<Contribution>> CoverageTable(std::int32_t sourceSize,
                                                     std::int32_t targetSize) {
    std::vector<std::vector<Contribution>> table(static_cast<std::size_t>(targetSize));
    const double scale = static_cast<double>(sourceSize) / targetSize;
    for (std::int32_t t = 0; t < targetSize; ++t) {
        const double begin = t * scale;
        const double end = (t + 1) * scale;
        const auto first = static_cast<std::int32_t>(std::floor(begin));
        const auto last = std::min(sourceSize - 1, static_cast<std::int32_t>(std::ceil(end)) - 1);
        double total = 0.0;
        for (std::int32_t s = first; s <= last; ++s) {
            const double covered = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
            if (covered > 0.0) {
                table[t].push_back({s, covered});
                total += covered;
            }
        }
        for (Contribution& c : table[t]) {
            c.weight /= total;
        }
    }
    return table;
}

std::uint32_t ChannelByte(double value) {
    const double rounded = std::floor(value + 0.5);
    return static_cast<std::uint32_t>(std::clamp(rounded, 0.0, 255.0));
}

}  // namespace

void HalftoneResample(const DecodedPicture& source, std::int32_t targetWidth,
                      std::int32_t targetHeight, bool bottomUp, std::uint32_t* target) {
    if (source.Empty() || targetWidth <= 0 || targetHeight <= 0 || target == nullptr) {
        return;
    }
    const auto columns = CoverageTable(source.width, targetWidth);
    const auto rows = CoverageTable(source.height, targetHeight);

    // Horizontal pass: every source row scaled to the target width, channels kept apart.
    const std::size_t rowLength = static_cast<std::size_t>(targetWidth) * 3;
    std::vector<double> wide(static_cast<std::size_t>(source.height) * rowLength);
    for (std::int32_t y = 0; y < source.height; ++y) {
        double* out = &wide[static_cast<std::size_t>(y) * rowLength];
        for (std::int32_t x = 0; x < targetWidth; ++x) {
            for (const Contribution& c : columns[x]) {
                const std::uint32_t word = source.At(c.source, y);
                out[x * 3 + 0] += ((word >> 16) & 0xFF) * c.weight;
                out[x * 3 + 1] += ((word >> 8) & 0xFF) * c.weight;
                out[x * 3 + 2] += (word & 0xFF) * c.weight;
            }
        }
    }

    // Vertical pass into the target, in the requested row order.
    std::vector<double> sum(rowLength);
    for (std::int32_t y = 0; y < targetHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0);
        for (const Contribution& c : rows[y]) {
            const double* in = &wide[static_cast<std::size_t>(c.source) * rowLength];
            for (std::size_t i = 0; i < rowLength; ++i) {
                sum[i] += in[i] * c.weight;
            }
        }
        const std::int32_t storedRow = bottomUp ? targetHeight - 1 - y : y;
        std::uint32_t* out = target + static_cast<std::size_t>(storedRow) * targetWidth;
        for (std::int32_t x = 0; x < targetWidth; ++x) {
            out[x] = (ChannelByte(sum[x * 3]) << 16) | (ChannelByte(sum[x * 3 + 1]) << 8) |
                     ChannelByte(sum[x * 3 + 2]);
        }
    }
}

}  // namespace maglorin
