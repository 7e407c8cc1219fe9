#pragma once
// The gradient edge walk as the photo filler runs it: the same steps as WalkGradientEdge, with
// the same values recorded, but a steep edge records only the first and the last of the rows it
// meets in each column. Along a steep edge the row moves by exactly one per step, so within one
// column the rows are strictly increasing (or strictly decreasing): the first row is the only one
// that can lower the column's top (raise its bottom) and the last the only one whose values can
// stay at the other end, so the rows in between leave nothing behind. Where that cannot be shown
// (rows beyond 2^24 in size, whose single-precision values may repeat, or an edge that is a
// single point) the plain walk runs. A shallow edge takes the plain walk's steps, recorded inline.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "raster/column_spans.h"
#include "raster/edge_walk.h"
#include "raster/modColor.h"
#include "raster/rounding.h"

namespace maglorin {

// RecordGradientStep, kept inline so the walked values stay in registers instead of being stored
// and read back for every step.
template <std::size_t N>
[[gnu::always_inline]] inline void RecordPhotoStep(ColumnSpans<N>& spans, std::int64_t column, float row,
                                                   const std::array<double, N>& values) {
    if (!spans.Covers(column)) return;
    std::array<float, N> recorded;
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N; ++k) recorded[k] = static_cast<float>(values[k]);
    RecordSpan(spans.At(column), row, recorded);
}

// A steep edge: one step per row. The rows are whole numbers here, so truncating them changes nothing.
template <std::size_t N>
void WalkSteepEdgeByRuns(const EdgeEnd<N>& start, const EdgeEnd<N>& end, ColumnSpans<N>& spans) {
    const double xs = start.point.x, ys = start.point.y;
    const double dx = static_cast<double>(end.point.x) - xs;
    const double dy = static_cast<double>(end.point.y) - ys;
    const double m = std::fabs(dy);
    const double stepX = SafeDivide(static_cast<float>(dx), static_cast<float>(m));
    const double stepY = SafeDivide(static_cast<float>(dy), static_cast<float>(m));
    std::array<double, N> values{};
    std::array<double, N> steps{};
    for (std::size_t k = 0; k < N; ++k) {
        values[k] = start.values[k];
        const double change = static_cast<double>(end.values[k]) - static_cast<double>(start.values[k]);
        steps[k] = SafeDivide(static_cast<float>(change), static_cast<float>(m));
    }
    const std::int64_t count = static_cast<std::int64_t>(RoundHalfEven(m));
    const std::int64_t last = spans.Last();
    double x = xs, y = ys;
    std::int64_t column = static_cast<std::int64_t>(RoundHalfEven(x));
    std::int64_t previous = column - 1;  // the first step opens its column's run
    for (std::int64_t i = 0; i <= count; ++i) {
        if (column > last) break;  // x never decreases
        x += stepX;
        const std::int64_t next = i < count ? static_cast<std::int64_t>(RoundHalfEven(x)) : column + 1;
        if (column != previous || next != column) RecordPhotoStep(spans, column, static_cast<float>(y), values);
        previous = column;
        column = next;
        y += stepY;
#pragma GCC unroll 8
        for (std::size_t k = 0; k < N; ++k) values[k] += steps[k];
    }
}

// A shallow edge: one step per column.
template <std::size_t N>
void WalkShallowEdge(const EdgeEnd<N>& start, const EdgeEnd<N>& end, ColumnSpans<N>& spans) {
    const double xs = start.point.x, ys = start.point.y;
    const double xe = end.point.x;
    const double dx = xe - xs;
    const double dy = static_cast<double>(end.point.y) - ys;
    const double stepY = SafeDivide(static_cast<float>(dy), static_cast<float>(dx));
    std::array<double, N> values{};
    std::array<double, N> steps{};
    for (std::size_t k = 0; k < N; ++k) {
        values[k] = start.values[k];
        const double change = static_cast<double>(end.values[k]) - static_cast<double>(start.values[k]);
        steps[k] = SafeDivide(static_cast<float>(change), static_cast<float>(dx));
    }
    const std::int64_t last = spans.Last();
    double y = ys;
    for (double x = xs; x <= xe; x += 1.0) {
        const std::int64_t column = static_cast<std::int64_t>(x);
        if (column > last) break;
        RecordPhotoStep(spans, column, static_cast<float>(std::trunc(y)), values);
        y += stepY;
#pragma GCC unroll 8
        for (std::size_t k = 0; k < N; ++k) values[k] += steps[k];
    }
}

// Same spans as WalkGradientEdge (a, b, spans), for every edge.
template <std::size_t N>
void WalkPhotoEdge(const EdgeEnd<N>& a, const EdgeEnd<N>& b, ColumnSpans<N>& spans) {
    if (spans.Empty()) return;
    const EdgeEnd<N>& start = a.point.x < b.point.x ? a : b;
    const EdgeEnd<N>& end = a.point.x < b.point.x ? b : a;
    const double dx = static_cast<double>(end.point.x) - start.point.x;
    const double dy = static_cast<double>(end.point.y) - start.point.y;
    // Rows whole and exact in single precision, stepping by exactly one.
    constexpr double kExactRows = 16777216.0;  // 2^24
    const bool steep = std::fabs(dy) >= dx && dy != 0.0;
    const bool exactRows = std::fabs(static_cast<double>(start.point.y)) < kExactRows &&
                           std::fabs(static_cast<double>(end.point.y)) < kExactRows &&
                           std::fabs(dy) < kExactRows;
    if (steep && exactRows) {
        WalkSteepEdgeByRuns(start, end, spans);
        return;
    }
    if (!(std::fabs(dy) >= dx)) {
        WalkShallowEdge(start, end, spans);
        return;
    }
    WalkGradientEdge(a, b, spans);
}

}  // namespace maglorin
