#pragma once
// A small drawing surface for the generated sample pictures: rectangles, triangles, lines and
// block text over a DecodedPicture (0x00RRGGBB words, top row first).

#include <cstdint>
#include <string>

#include "image/decoded_picture.h"

namespace maglorin::samples {

class PictureCanvas {
public:
    PictureCanvas(std::int32_t width, std::int32_t height, std::uint32_t background);

    std::int32_t Width() const { return picture_.width; }
    std::int32_t Height() const { return picture_.height; }
    void Set(std::int32_t x, std::int32_t y, std::uint32_t colour);
    std::uint32_t Get(std::int32_t x, std::int32_t y) const;
    // Pixels x0 <= x < x1, y0 <= y < y1 (clipped to the picture).
    void FillRect(double x0, double y0, double x1, double y1, std::uint32_t colour);
    void FillTriangle(const double (&x)[3], const double (&y)[3], std::uint32_t colour);
    void DrawLine(double x0, double y0, double x1, double y1, std::uint32_t colour);
    void FrameRect(double x0, double y0, double x1, double y1, int thickness,
                   std::uint32_t colour);
    void FillCircle(double cx, double cy, double radius, std::uint32_t colour);
    // Block letters with the top-left corner at (x, y), each font unit `scale` pixels.
    void DrawText(double x, double y, const std::string& text, double scale,
                  std::uint32_t colour);
    static double TextWidth(const std::string& text, double scale);

    const DecodedPicture& Picture() const { return picture_; }

private:
    DecodedPicture picture_;
};

std::uint32_t Rgb(int red, int green, int blue);
// Mix of a and b, `t` = 0 gives a.
std::uint32_t Blend(std::uint32_t a, std::uint32_t b, double t);

}  // namespace maglorin::samples
