#pragma once
// The two edge walks that fill a ColumnSpans table.
//
// WalkColumnEdge (flat and texture fillers): single precision, one step per column from the end
// with the smaller x; a vertical edge records only the end point it starts from.
// WalkGradientEdge (gradient and photo fillers): double precision, steps through SafeDivide in
// single precision; a steep edge steps one row at a time (several rows may land in one column), a
// shallow one one column at a time.
//
// Both walk the whole edge even where the table does not cover the column, so the values they
// record in the covered columns do not depend on how far the table reaches.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "raster/column_spans.h"
#include "raster/modColor.h"
#include "raster/rounding.h"

namespace maglorin {

template <std::size_t N>
struct EdgeEnd {
    ScreenPoint point;
    std::array<float, N> values{};
};

template <std::size_t N>
void WalkColumnEdge(const EdgeEnd<N>& a, const EdgeEnd<N>& b, ColumnSpans<N>& spans) {
    if (spans.Empty()) return;
    const EdgeEnd<N>& from = a.point.x < b.point.x ? a : b;
    const EdgeEnd<N>& to = a.point.x < b.point.x ? b : a;
    const float n = static_cast<float>(static_cast<std::int64_t>(to.point.x) - from.point.x);
    const float slope = SafeDivide(static_cast<float>(static_cast<std::int64_t>(to.point.y) - from.point.y), n);
    std::array<float, N> steps{};
    for (std::size_t k = 0; k < N; ++k) steps[k] = SafeDivide(to.values[k] - from.values[k], n);

    float y = static_cast<float>(from.point.y);
    std::array<float, N> values = from.values;
    for (std::int64_t x = from.point.x; x <= to.point.x; ++x) {
        if (x > spans.Last()) break;
        if (x >= spans.First()) RecordSpan(spans.At(x), std::trunc(y), values);
        y += slope;
        for (std::size_t k = 0; k < N; ++k) values[k] += steps[k];
    }
}

template <std::size_t N>
void RecordGradientStep(ColumnSpans<N>& spans, std::int64_t column, double y, const std::array<double, N>& values) {
    if (!spans.Covers(column)) return;
    std::array<float, N> recorded{};
    for (std::size_t k = 0; k < N; ++k) recorded[k] = static_cast<float>(values[k]);
    RecordSpan(spans.At(column), static_cast<float>(std::trunc(y)), recorded);
}

template <std::size_t N>
void WalkGradientEdge(const EdgeEnd<N>& a, const EdgeEnd<N>& b, ColumnSpans<N>& spans) {
    if (spans.Empty()) return;
    const EdgeEnd<N>& start = a.point.x < b.point.x ? a : b;
    const EdgeEnd<N>& end = a.point.x < b.point.x ? b : a;
    const double xs = start.point.x, ys = start.point.y;
    const double xe = end.point.x, ye = end.point.y;
    const double dx = xe - xs;
    const double dy = ye - ys;
    std::array<double, N> values{};
    std::array<double, N> dc{};
    for (std::size_t k = 0; k < N; ++k) {
        values[k] = start.values[k];
        dc[k] = static_cast<double>(end.values[k]) - static_cast<double>(start.values[k]);
    }

    if (std::fabs(dy) >= dx) {
        const double m = std::fabs(dy);
        const double stepX = SafeDivide(static_cast<float>(dx), static_cast<float>(m));
        const double stepY = SafeDivide(static_cast<float>(dy), static_cast<float>(m));
        std::array<double, N> steps{};
        for (std::size_t k = 0; k < N; ++k) steps[k] = SafeDivide(static_cast<float>(dc[k]), static_cast<float>(m));
        const std::int64_t count = static_cast<std::int64_t>(RoundHalfEven(m));
        double x = xs, y = ys;
        for (std::int64_t i = 0; i <= count; ++i) {
            const std::int64_t column = static_cast<std::int64_t>(RoundHalfEven(x));
            if (column > spans.Last()) break;  // x never decreases
            RecordGradientStep(spans, column, y, values);
            x += stepX;
            y += stepY;
            for (std::size_t k = 0; k < N; ++k) values[k] += steps[k];
        }
        return;
    }
    const double stepY = SafeDivide(static_cast<float>(dy), static_cast<float>(dx));
    std::array<double, N> steps{};
    for (std::size_t k = 0; k < N; ++k) steps[k] = SafeDivide(static_cast<float>(dc[k]), static_cast<float>(dx));
    double y = ys;
    for (double x = xs; x <= xe; x += 1.0) {
        const std::int64_t column = static_cast<std::int64_t>(x);
        if (column > spans.Last()) break;
        RecordGradientStep(spans, column, y, values);
        y += stepY;
        for (std::size_t k = 0; k < N; ++k) values[k] += steps[k];
    }
}

}  // namespace maglorin
