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

// The source cells that target cell t of `targetSize` covers, with the covered fractions
// normalised so that they sum to 1.
void CellCoverage(std::int32_t sourceSize, std::int32_t targetSize, std::int32_t t,
                  std::vector<Contribution>& cell) {
    cell.clear();
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double begin = t * scale;
    const double end = (t + 1) * scale;
    const auto first = static_cast<std::int32_t>(std::floor(begin));
    const auto last = std::min(sourceSize - 1, static_cast<std::int32_t>(std::ceil(end)) - 1);
    double total = 0.0;
    for (std::int32_t s = first; s <= last; ++s) {
        const double covered = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
        if (covered > 0.0) {
            cell.push_back({s, covered});
            total += covered;
        }
    }
    for (Contribution& c : cell) {
        c.weight /= total;
    }
}

std::vector<std::vector<Contribution>> CoverageTable(std::int32_t sourceSize, std::int32_t targetSize) {
    std::vector<std::vector<Contribution>> table(static_cast<std::size_t>(targetSize));
    for (std::int32_t t = 0; t < targetSize; ++t) {
        CellCoverage(sourceSize, targetSize, t, table[static_cast<std::size_t>(t)]);
    }
    return table;
}

std::uint32_t ChannelByte(double value) {
    const double rounded = std::floor(value + 0.5);
    return static_cast<std::uint32_t>(std::clamp(rounded, 0.0, 255.0));
}

// Source rows scaled to the target width, channels kept apart, made when first asked for. Target
// rows walk down the source, and neighbouring target rows share at most their boundary rows, so
// the two most recent rows are kept: each source row is scaled once when shrinking, and a few
// times at most when enlarging. Memory follows the target width, whatever the source height.
class WideRows {
public:
    WideRows(const DecodedPicture& source, std::int32_t targetWidth)
        : source_(source), columns_(CoverageTable(source.width, targetWidth)),
          rowLength_(static_cast<std::size_t>(targetWidth) * 3) {
        for (Slot& slot : slots_) slot.values.resize(rowLength_);
    }

    std::size_t RowLength() const { return rowLength_; }

    const double* Row(std::int32_t y) {
        for (Slot& slot : slots_) {
            if (slot.row == y) return slot.values.data();
        }
        Slot& slot = slots_[next_];
        next_ = 1 - next_;
        slot.row = y;
        Scale(y, slot.values);
        return slot.values.data();
    }

private:
    struct Slot {
        std::int32_t row = -1;
        std::vector<double> values;
    };

    void Scale(std::int32_t y, std::vector<double>& out) const {
        std::fill(out.begin(), out.end(), 0.0);
        for (std::size_t x = 0; x < columns_.size(); ++x) {
            for (const Contribution& c : columns_[x]) {
                const std::uint32_t word = source_.At(c.source, y);
                out[x * 3 + 0] += ((word >> 16) & 0xFF) * c.weight;
                out[x * 3 + 1] += ((word >> 8) & 0xFF) * c.weight;
                out[x * 3 + 2] += (word & 0xFF) * c.weight;
            }
        }
    }

    const DecodedPicture& source_;
    std::vector<std::vector<Contribution>> columns_;
    std::size_t rowLength_;
    Slot slots_[2];
    int next_ = 0;
};

// The unchanged size needs no averaging: every word is taken as it is (the colour bits of it).
void CopyUnscaled(const DecodedPicture& source, bool bottomUp, std::uint32_t* target) {
    const auto width = static_cast<std::size_t>(source.width);
    for (std::int32_t y = 0; y < source.height; ++y) {
        const std::int32_t storedRow = bottomUp ? source.height - 1 - y : y;
        const std::uint32_t* in = &source.pixels[static_cast<std::size_t>(y) * width];
        std::uint32_t* out = target + static_cast<std::size_t>(storedRow) * width;
        for (std::size_t x = 0; x < width; ++x) out[x] = in[x] & 0x00FFFFFFu;
    }
}

}  // namespace

void HalftoneResample(const DecodedPicture& source, std::int32_t targetWidth,
                      std::int32_t targetHeight, bool bottomUp, std::uint32_t* target) {
    if (source.Empty() || targetWidth <= 0 || targetHeight <= 0 || target == nullptr ||
        source.pixels.size() != static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height)) {
        return;
    }
    if (source.width == targetWidth && source.height == targetHeight) {
        CopyUnscaled(source, bottomUp, target);
        return;
    }
    // One target row at a time: the source rows it covers, each scaled to the target width,
    // weighted by the covered fraction of the row.
    WideRows wide(source, targetWidth);
    const std::size_t rowLength = wide.RowLength();
    std::vector<double> sum(rowLength);
    std::vector<Contribution> rows;
    for (std::int32_t y = 0; y < targetHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0);
        CellCoverage(source.height, targetHeight, y, rows);
        for (const Contribution& c : rows) {
            const double* in = wide.Row(c.source);
            for (std::size_t i = 0; i < rowLength; ++i) {
                sum[i] += in[i] * c.weight;
            }
        }
        const std::int32_t storedRow = bottomUp ? targetHeight - 1 - y : y;
        std::uint32_t* out = target + static_cast<std::size_t>(storedRow) * static_cast<std::size_t>(targetWidth);
        for (std::int32_t x = 0; x < targetWidth; ++x) {
            out[x] = (ChannelByte(sum[x * 3]) << 16) | (ChannelByte(sum[x * 3 + 1]) << 8) |
                     ChannelByte(sum[x * 3 + 2]);
        }
    }
}

}  // namespace maglorin
