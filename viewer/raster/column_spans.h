#pragma once
// The per-column span table of the column fillers. The three edges of a triangle are walked into
// one span per screen column (the smallest and the largest row met in the column, each with the
// values interpolated along the edge), then each column is filled from its top row to its bottom.
//
// Values carried with a row, by filler: flat none; gradient (red, green, blue); texture (u, v);
// photo (u, v, red, green, blue).
//
// The table covers only the columns that can change pixels, not the triangle's whole screen
// extent, which a vertex near depth 0 makes enormous; the walks still step through every column
// from the edge's start, so the values recorded for the covered columns are the ones a table of
// the whole extent would hold.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/raster_target.h"
#include "scene/scene_records.h"

namespace maglorin {

template <std::size_t N>
struct ColumnSpan {
    float BottomY = 0.0f;
    std::array<float, N> Bottom{};
    float TopY = 0.0f;
    std::array<float, N> Top{};
    Bool16 Set = kFalse16;
};

// Recording row y (already truncated) with its values: the first value sets both ends, later
// ones widen the span.
template <std::size_t N>
void RecordSpan(ColumnSpan<N>& span, float y, const std::array<float, N>& values) {
    if (span.Set == kFalse16) {
        span.BottomY = span.TopY = y;
        span.Bottom = span.Top = values;
        span.Set = kTrue16;
        return;
    }
    if (y > span.BottomY) {
        span.BottomY = y;
        span.Bottom = values;
    }
    if (y < span.TopY) {
        span.TopY = y;
        span.Top = values;
    }
}

// Spans for columns First()..Last(); empty when no column is covered. Owned by the caller and
// reused from triangle to triangle (Reset re-dimensions and zeroes it, like a fresh table).
template <std::size_t N>
class ColumnSpans {
public:
    void Reset(std::int64_t first, std::int64_t last) {
        spans_.clear();
        if (last < first) {
            first_ = 0;
            return;
        }
        first_ = first;
        spans_.resize(static_cast<std::size_t>(last - first + 1));
    }
    bool Empty() const { return spans_.empty(); }
    std::int64_t First() const { return first_; }
    std::int64_t Last() const { return first_ + static_cast<std::int64_t>(spans_.size()) - 1; }
    bool Covers(std::int64_t x) const { return x >= First() && x <= Last(); }
    ColumnSpan<N>& At(std::int64_t x) { return spans_[static_cast<std::size_t>(x - first_)]; }
    const ColumnSpan<N>& At(std::int64_t x) const { return spans_[static_cast<std::size_t>(x - first_)]; }

private:
    std::vector<ColumnSpan<N>> spans_;
    std::int64_t first_ = 0;
};

// The columns a filler may change, both ends included.
struct ColumnRange {
    std::int64_t first = 0;
    std::int64_t last = -1;
};

// The frame's own columns: the gradient filler is not held to the clip rectangle.
inline ColumnRange FrameColumns(const RasterTarget& target) {
    return {0, std::int64_t{target.frame.width} - 1};
}

// The clip rectangle's columns that lie on the frame.
inline ColumnRange ClipColumns(const RasterTarget& target) {
    return {std::max(std::int64_t{target.clip.Left}, std::int64_t{0}),
            std::min(std::int64_t{target.clip.Right}, std::int64_t{target.frame.width} - 1)};
}

// Re-dimensions the table to the columns of the triangle a, b, c that lie within `allowed`; the
// table is empty when none do. Columns First()..Last() are then the ones to fill.
template <std::size_t N>
void ResetToTriangle(ColumnSpans<N>& spans, const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c,
                     const ColumnRange& allowed) {
    const std::int64_t minX = std::min({a.x, b.x, c.x});
    const std::int64_t maxX = std::max({a.x, b.x, c.x});
    spans.Reset(std::max(minX, allowed.first), std::min(maxX, allowed.last));
}

using FlatSpans = ColumnSpans<0>;
using GradientSpans = ColumnSpans<3>;
using TextureSpans = ColumnSpans<2>;
using PhotoSpans = ColumnSpans<5>;

}  // namespace maglorin
