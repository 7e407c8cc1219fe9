#include "raster/system_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "raster/modColor.h"

namespace maglorin {

namespace {

// floor(a / b) for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

void PutPixel(const PixelView& surface, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return;
    surface(static_cast<int>(x), static_cast<int>(y)) = pixel;
}

// The steps i in [0, n) whose major coordinate start + i * direction lies in [0, size).
void MajorRange(std::int64_t start, std::int64_t direction, std::int64_t n, std::int64_t size, std::int64_t& first,
                std::int64_t& last) {
    if (direction > 0) {
        first = std::max<std::int64_t>(0, -start);
        last = std::min<std::int64_t>(n - 1, size - 1 - start);
    } else {
        first = std::max<std::int64_t>(0, start - (size - 1));
        last = std::min<std::int64_t>(n - 1, start);
    }
}

// Beyond these sizes the exact integer arithmetic could overflow; no caller comes near them (the
// pipeline hands the services clipped or wholly visible figures), and such a figure is not drawn.
constexpr std::int64_t kMaxLineSteps = std::int64_t{1} << 28;
constexpr std::int64_t kMaxGradientCoordinate = std::int64_t{1} << 20;

bool IsGradientCoordinate(const GradientCorner& c) {
    return std::llabs(c.x) <= kMaxGradientCoordinate && std::llabs(c.y) <= kMaxGradientCoordinate;
}

}  // namespace

void DrawSystemLine(const PixelView& surface, const ScreenPoint& from, const ScreenPoint& to,
                    std::uint32_t systemColour) {
    if (!surface.Attached()) return;
    const std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
    const std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
    const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0 || n > kMaxLineSteps) return;
    const std::uint32_t pixel = SystemToPixel(systemColour);
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t majorDirection = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    std::int64_t first = 0, last = -1;
    MajorRange(majorStart, majorDirection, n, xMajor ? surface.width : surface.height, first, last);
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = majorStart + i * majorDirection;
        const std::int64_t minor = minorStart + FloorDiv(2 * i * minorDelta + n, 2 * n);
        if (xMajor) {
            PutPixel(surface, major, minor, pixel);
        } else {
            PutPixel(surface, minor, major, pixel);
        }
    }
}

void FillSystemPolygon(const PixelView& surface, const ScreenPoint* points, std::size_t count,
                       std::uint32_t systemColour) {
    if (!surface.Attached() || points == nullptr || count == 0) return;
    const std::uint32_t pixel = SystemToPixel(systemColour);
    std::int64_t minY = points[0].y, maxY = points[0].y;
    for (std::size_t i = 1; i < count; ++i) {
        minY = std::min<std::int64_t>(minY, points[i].y);
        maxY = std::max<std::int64_t>(maxY, points[i].y);
    }
    minY = std::max<std::int64_t>(minY, 0);
    maxY = std::min<std::int64_t>(maxY, std::int64_t{surface.height} - 1);
    std::vector<double> crossings;
    for (std::int64_t y = minY; y <= maxY; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const ScreenPoint& a = points[i];
            const ScreenPoint& b = points[(i + 1) % count];
            if (a.y == b.y) continue;
            const bool spans = (a.y <= y && y < b.y) || (b.y <= y && y < a.y);
            if (!spans) continue;
            const double t = static_cast<double>(y - a.y) / static_cast<double>(std::int64_t{b.y} - a.y);
            crossings.push_back(static_cast<double>(a.x) + t * (static_cast<double>(b.x) - a.x));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const double left = std::max(std::ceil(crossings[k]), 0.0);
            const double right = std::min(std::ceil(crossings[k + 1]) - 1.0, static_cast<double>(surface.width) - 1.0);
            for (double x = left; x <= right; x += 1.0) {
                surface(static_cast<int>(x), static_cast<int>(y)) = pixel;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) DrawSystemLine(surface, points[i], points[(i + 1) % count], systemColour);
    // A polygon collapsed to one point still shows its one outline pixel.
    bool allSame = true;
    for (std::size_t i = 1; i < count; ++i) allSame = allSame && points[i].x == points[0].x && points[i].y == points[0].y;
    if (allSame) PutPixel(surface, points[0].x, points[0].y, pixel);
}

void GradientFillTriangle(const PixelView& surface, const GradientCorner& c0, const GradientCorner& c1,
                          const GradientCorner& c2) {
    if (!surface.Attached() || !IsGradientCoordinate(c0) || !IsGradientCoordinate(c1) || !IsGradientCoordinate(c2)) {
        return;
    }
    const std::int64_t x0 = c0.x, y0 = c0.y, x1 = c1.x, y1 = c1.y, x2 = c2.x, y2 = c2.y;
    std::int64_t area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
    if (area == 0) return;
    const std::int64_t sign = area > 0 ? 1 : -1;
    area *= sign;
    const std::int64_t left = std::max<std::int64_t>({std::min({x0, x1, x2}), 0});
    const std::int64_t right = std::min<std::int64_t>(std::max({x0, x1, x2}), std::int64_t{surface.width} - 1);
    const std::int64_t top = std::max<std::int64_t>(std::min({y0, y1, y2}), 0);
    const std::int64_t bottom = std::min<std::int64_t>(std::max({y0, y1, y2}), std::int64_t{surface.height} - 1);
    // floor(weighted sum / area): in double when that is exact (the quotient is below 2^16 and a
    // fraction is at least 1 / area from the next whole number, far more than the double's
    // precision there), in 64-bit integers otherwise.
    const bool exactInDouble = area < (std::int64_t{1} << 36);
    const double areaReal = static_cast<double>(area);
    const auto channel = [&](std::int64_t w0, std::int64_t w1, std::int64_t w2, std::uint16_t a, std::uint16_t b,
                             std::uint16_t c) {
        const std::int64_t sum = w0 * a + w1 * b + w2 * c;
        const std::int64_t quotient = exactInDouble ? static_cast<std::int64_t>(static_cast<double>(sum) / areaReal)
                                                    : sum / area;
        return static_cast<std::uint32_t>(quotient >> 8);
    };
    for (std::int64_t y = top; y <= bottom; ++y) {
        for (std::int64_t x = left; x <= right; ++x) {
            // Weight of each corner: twice the area of the triangle the pixel makes with the other two.
            const std::int64_t w0 = sign * ((x2 - x1) * (y - y1) - (y2 - y1) * (x - x1));
            const std::int64_t w1 = sign * ((x0 - x2) * (y - y2) - (y0 - y2) * (x - x2));
            const std::int64_t w2 = sign * ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0));
            if (w0 < 0 || w1 < 0 || w2 < 0) continue;
            const std::uint32_t r = channel(w0, w1, w2, c0.red, c1.red, c2.red);
            const std::uint32_t g = channel(w0, w1, w2, c0.green, c1.green, c2.green);
            const std::uint32_t b = channel(w0, w1, w2, c0.blue, c1.blue, c2.blue);
            surface(static_cast<int>(x), static_cast<int>(y)) = (r << 16) | (g << 8) | b;
        }
    }
}

std::uint16_t ChannelToColour16(std::int16_t channel) {
    const std::int32_t clamped = std::clamp<std::int32_t>(channel, 0, 255);
    return static_cast<std::uint16_t>(clamped * 256);
}

GradientCorner MakeGradientCorner(const ScreenPoint& point, const ColourRGB& colour) {
    return {point.x, point.y, ChannelToColour16(colour.red), ChannelToColour16(colour.green),
            ChannelToColour16(colour.blue), 0};
}

}  // namespace maglorin
