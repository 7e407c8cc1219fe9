#include "picture_canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_easy_font.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace maglorin::samples {

std::uint32_t Rgb(int red, int green, int blue) {
    const auto channel = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}

std::uint32_t Blend(std::uint32_t a, std::uint32_t b, double t) {
    const auto mix = [&](int shift) {
        const double ca = (a >> shift) & 0xFF;
        const double cb = (b >> shift) & 0xFF;
        return static_cast<int>(std::lround(ca + (cb - ca) * t));
    };
    return Rgb(mix(16), mix(8), mix(0));
}

PictureCanvas::PictureCanvas(std::int32_t width, std::int32_t height, std::uint32_t background) {
    picture_.width = width;
    picture_.height = height;
    picture_.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                           background);
}

void PictureCanvas::Set(std::int32_t x, std::int32_t y, std::uint32_t colour) {
    if (x >= 0 && y >= 0 && x < picture_.width && y < picture_.height) {
        picture_.pixels[static_cast<std::size_t>(y) * picture_.width + x] = colour;
    }
}

std::uint32_t PictureCanvas::Get(std::int32_t x, std::int32_t y) const {
    return picture_.At(x, y);
}

void PictureCanvas::FillRect(double x0, double y0, double x1, double y1, std::uint32_t colour) {
    const int left = std::max(0, static_cast<int>(std::lround(x0)));
    const int top = std::max(0, static_cast<int>(std::lround(y0)));
    const int right = std::min(picture_.width, static_cast<int>(std::lround(x1)));
    const int bottom = std::min(picture_.height, static_cast<int>(std::lround(y1)));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Set(x, y, colour);
        }
    }
}

// Pixel centres inside the triangle (either winding) are filled.
void PictureCanvas::FillTriangle(const double (&x)[3], const double (&y)[3],
                                 std::uint32_t colour) {
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (area == 0.0) {
        return;
    }
    const int left = std::max(0, static_cast<int>(std::floor(std::min({x[0], x[1], x[2]}))));
    const int right = std::min(picture_.width - 1,
                               static_cast<int>(std::ceil(std::max({x[0], x[1], x[2]}))));
    const int top = std::max(0, static_cast<int>(std::floor(std::min({y[0], y[1], y[2]}))));
    const int bottom = std::min(picture_.height - 1,
                                static_cast<int>(std::ceil(std::max({y[0], y[1], y[2]}))));
    for (int py = top; py <= bottom; ++py) {
        for (int px = left; px <= right; ++px) {
            const double cx = px + 0.5;
            const double cy = py + 0.5;
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) {
                const int n = (e + 1) % 3;
                const double side = (x[n] - x[e]) * (cy - y[e]) - (cx - x[e]) * (y[n] - y[e]);
                inside = side * area >= 0.0;
            }
            if (inside) {
                Set(px, py, colour);
            }
        }
    }
}

void PictureCanvas::DrawLine(double x0, double y0, double x1, double y1, std::uint32_t colour) {
    const double steps = std::max({std::fabs(x1 - x0), std::fabs(y1 - y0), 1.0});
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
        const double t = i / steps;
        Set(static_cast<int>(std::floor(x0 + (x1 - x0) * t)),
            static_cast<int>(std::floor(y0 + (y1 - y0) * t)), colour);
    }
}

void PictureCanvas::FrameRect(double x0, double y0, double x1, double y1, int thickness,
                              std::uint32_t colour) {
    FillRect(x0, y0, x1, y0 + thickness, colour);
    FillRect(x0, y1 - thickness, x1, y1, colour);
    FillRect(x0, y0, x0 + thickness, y1, colour);
    FillRect(x1 - thickness, y0, x1, y1, colour);
}

void PictureCanvas::FillCircle(double cx, double cy, double radius, std::uint32_t colour) {
    for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius) + 1; ++y) {
        for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius) + 1; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) {
                Set(x, y, colour);
            }
        }
    }
}

// The font's quads are axis-aligned rectangles, so each is filled as one.
void PictureCanvas::DrawText(double x, double y, const std::string& text, double scale,
                             std::uint32_t colour) {
    std::vector<char> buffer(text.size() * 2048 + 64);  // 64 bytes a quad, up to 32 a letter
    std::vector<char> chars(text.begin(), text.end());
    chars.push_back('\0');
    const int quads = stb_easy_font_print(0.0f, 0.0f, chars.data(), nullptr, buffer.data(),
                                          static_cast<int>(buffer.size()));
    struct FontVertex {
        float x, y, z;
        unsigned char colour[4];
    };
    const auto* vertices = reinterpret_cast<const FontVertex*>(buffer.data());
    for (int q = 0; q < quads; ++q) {
        const FontVertex* v = vertices + q * 4;
        const float minX = std::min({v[0].x, v[1].x, v[2].x, v[3].x});
        const float maxX = std::max({v[0].x, v[1].x, v[2].x, v[3].x});
        const float minY = std::min({v[0].y, v[1].y, v[2].y, v[3].y});
        const float maxY = std::max({v[0].y, v[1].y, v[2].y, v[3].y});
        FillRect(x + minX * scale, y + minY * scale, x + maxX * scale, y + maxY * scale, colour);
    }
}

double PictureCanvas::TextWidth(const std::string& text, double scale) {
    std::vector<char> chars(text.begin(), text.end());
    chars.push_back('\0');
    return stb_easy_font_width(chars.data()) * scale;
}

}  // namespace maglorin::samples
