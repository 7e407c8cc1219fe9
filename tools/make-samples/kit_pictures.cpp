#include "kit_pictures.h"

#include <cmath>
#include <string>

#include "kit_model.h"
#include "picture_canvas.h"

namespace maglorin::samples {

namespace {

struct PixelRect {
    double x0, y0, x1, y1;
    double Width() const { return x1 - x0; }
    double Height() const { return y1 - y0; }
};

// A texture region in pixels of a size x size picture (v = 0 is the bottom row).
PixelRect ToPixels(const TextureRegion& r, int size) {
    return PixelRect{r.u0 * size, (1.0 - r.v1) * size, r.u1 * size, (1.0 - r.v0) * size};
}

// A deterministic scatter for crowd dots and grass grain.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y) {
    std::uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

void DrawSky(PictureCanvas& canvas, int horizon) {
    for (int y = 0; y < horizon; ++y) {
        const double t = static_cast<double>(y) / horizon;
        const std::uint32_t colour = Blend(Rgb(18, 32, 78), Rgb(120, 150, 200), t);
        canvas.FillRect(0, y, canvas.Width(), y + 1, colour);
    }
}

// Tiers of seats full of spectators, a roof edge and floodlights.
void DrawStands(PictureCanvas& canvas, int top, int bottom) {
    const int width = canvas.Width();
    canvas.FillRect(0, top - 10, width, top, Rgb(60, 60, 68));
    const std::uint32_t shirts[] = {Rgb(200, 30, 40), Rgb(240, 240, 240), Rgb(30, 60, 160),
                                    Rgb(230, 200, 40), Rgb(40, 40, 40)};
    for (int y = top; y < bottom; ++y) {
        const double depth = static_cast<double>(y - top) / (bottom - top);
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = Blend(Rgb(45, 45, 55), Rgb(75, 75, 85), depth);
            const std::uint32_t h = Hash(static_cast<std::uint32_t>(x / 3),
                                         static_cast<std::uint32_t>(y / 3));
            if (h % 3 != 0) {
                colour = Blend(colour, shirts[(h >> 8) % 5], 0.55);
            }
            if ((y - top) % 18 == 0) {
                colour = Rgb(90, 90, 100);  // the edge of a tier
            }
            canvas.Set(x, y, colour);
        }
    }
    for (int light = 0; light < 4; ++light) {
        const double cx = width * (0.12 + 0.25 * light);
        canvas.FillRect(cx - 2, top - 60, cx + 2, top - 10, Rgb(110, 110, 120));
        canvas.FillRect(cx - 16, top - 72, cx + 16, top - 60, Rgb(250, 250, 225));
    }
}

// Mowing stripes that widen towards the viewer, and the touchline.
void DrawPitch(PictureCanvas& canvas, int horizon) {
    const int height = canvas.Height();
    for (int y = horizon; y < height; ++y) {
        const double depth = static_cast<double>(y - horizon + 1) / (height - horizon);
        const int band = static_cast<int>(std::floor(std::sqrt(depth) * 9.0));
        const std::uint32_t base = band % 2 == 0 ? Rgb(52, 140, 58) : Rgb(64, 158, 68);
        for (int x = 0; x < canvas.Width(); ++x) {
            const std::uint32_t grain = Hash(static_cast<std::uint32_t>(x),
                                             static_cast<std::uint32_t>(y)) % 17;
            canvas.Set(x, y, Blend(base, Rgb(30, 90, 35), grain / 60.0));
        }
    }
    const int line = horizon + (height - horizon) / 6;
    canvas.FillRect(0, line, canvas.Width(), line + 3, Rgb(235, 240, 235));
}

void DrawCentredText(PictureCanvas& canvas, const PixelRect& area, double centreY,
                     const std::string& text, double scale, std::uint32_t colour) {
    const double width = PictureCanvas::TextWidth(text, scale);
    canvas.DrawText(area.x0 + (area.Width() - width) / 2.0, centreY, text, scale, colour);
}

// The parts of a kit texture that the two sample kits share.
struct KitColours {
    std::uint32_t base;
    std::uint32_t pattern;
    std::uint32_t trim;
};

void DrawSleevesAndCollar(PictureCanvas& canvas, const KitColours& colours, int size) {
    for (const TextureRegion& region : {kLeftSleeveRegion, kRightSleeveRegion}) {
        const PixelRect r = ToPixels(region, size);
        canvas.FillRect(r.x0 - 4, r.y0 - 4, r.x1 + 4, r.y1 + 4, colours.pattern);
        // The cuff lies at the sleeve's open end, the bottom of its region.
        canvas.FillRect(r.x0 - 4, r.y1 - r.Height() * 0.18, r.x1 + 4, r.y1 + 4, colours.trim);
    }
    const PixelRect collar = ToPixels(kCollarRegion, size);
    canvas.FillRect(0, 0, size, collar.y1 + 4, colours.trim);
}

void DrawBackNumber(PictureCanvas& canvas, const std::string& number, std::uint32_t colour,
                    int size) {
    const PixelRect back = ToPixels(kBackRegion, size);
    const double scale = back.Width() / 22.0;
    DrawCentredText(canvas, back, back.y0 + back.Height() * 0.22, number, scale, colour);
}

void DrawCrest(PictureCanvas& canvas, const KitColours& colours, int size) {
    const PixelRect front = ToPixels(kFrontRegion, size);
    // On the wearer's left chest: the right of the front region as the viewer sees it.
    const double cx = front.x0 + front.Width() * 0.70;
    const double cy = front.y0 + front.Height() * 0.22;
    canvas.FillCircle(cx, cy, size * 0.035, colours.trim);
    canvas.FillCircle(cx, cy, size * 0.025, colours.base);
    canvas.FillCircle(cx, cy, size * 0.012, colours.trim);
}

void DrawPartTriangles(PictureCanvas& canvas, const ModelMesh& mesh, std::uint32_t fill,
                       std::uint32_t edge, int size) {
    for (const ModelFace& face : mesh.faces) {
        double x[3];
        double y[3];
        const std::uint16_t corners[3] = {face.a, face.b, face.c};
        for (int k = 0; k < 3; ++k) {
            x[k] = mesh.texCoords[corners[k]].u * size;
            y[k] = (1.0 - mesh.texCoords[corners[k]].v) * size;
        }
        canvas.FillTriangle(x, y, fill);
        for (int k = 0; k < 2; ++k) {  // the quad's own edges, not its diagonal
            canvas.DrawLine(x[k], y[k], x[k + 1], y[k + 1], edge);
        }
    }
}

}  // namespace

DecodedPicture MakeBackground(int width, int height) {
    PictureCanvas canvas(width, height, Rgb(0, 0, 0));
    const int standsTop = height * 30 / 100;
    const int horizon = height * 55 / 100;
    DrawSky(canvas, standsTop);
    DrawStands(canvas, standsTop, horizon);
    DrawPitch(canvas, horizon);
    return canvas.Picture();
}

DecodedPicture MakeHomeKit(int size) {
    const KitColours colours{Rgb(245, 245, 245), Rgb(200, 16, 46), Rgb(20, 30, 80)};
    PictureCanvas canvas(size, size, colours.base);
    const double stripe = size / 24.0;
    for (int i = 0; i < 24; i += 2) {
        canvas.FillRect(i * stripe, 0, (i + 1) * stripe, size, colours.pattern);
    }
    DrawSleevesAndCollar(canvas, colours, size);
    const PixelRect back = ToPixels(kBackRegion, size);
    canvas.FillRect(back.x0 + back.Width() * 0.22, back.y0 + back.Height() * 0.15,
                    back.x1 - back.Width() * 0.22, back.y0 + back.Height() * 0.62,
                    colours.base);  // a white panel behind the number
    DrawBackNumber(canvas, "9", colours.trim, size);
    DrawCrest(canvas, colours, size);
    return canvas.Picture();
}

DecodedPicture MakeAwayKit(int size) {
    const KitColours colours{Rgb(18, 34, 92), Rgb(250, 204, 20), Rgb(250, 204, 20)};
    PictureCanvas canvas(size, size, colours.base);
    for (const TextureRegion& region : {kFrontRegion, kBackRegion}) {
        const PixelRect r = ToPixels(region, size);
        const double hoop = r.Height() / 9.0;
        for (int i = 1; i < 9; i += 2) {
            canvas.FillRect(0, r.y0 + i * hoop, size, r.y0 + (i + 1) * hoop, colours.pattern);
        }
    }
    DrawSleevesAndCollar(canvas, KitColours{colours.base, colours.base, colours.trim}, size);
    const PixelRect back = ToPixels(kBackRegion, size);
    canvas.FillRect(back.x0 + back.Width() * 0.25, back.y0 + back.Height() * 0.15,
                    back.x1 - back.Width() * 0.25, back.y0 + back.Height() * 0.62,
                    colours.base);
    DrawBackNumber(canvas, "7", colours.trim, size);
    DrawCrest(canvas, colours, size);
    return canvas.Picture();
}

DecodedPicture MakeKitTemplate(const ModelDescription& model, int size) {
    PictureCanvas canvas(size, size, Rgb(255, 255, 255));
    for (int i = 1; i < 16; ++i) {  // a sixteenth grid for measuring
        const double at = size * i / 16.0;
        canvas.DrawLine(at, 0, at, size - 1, Rgb(225, 225, 225));
        canvas.DrawLine(0, at, size - 1, at, Rgb(225, 225, 225));
    }
    const std::uint32_t fills[4] = {Rgb(200, 220, 250), Rgb(205, 240, 205), Rgb(250, 225, 195),
                                    Rgb(230, 210, 245)};
    const std::uint32_t edges[4] = {Rgb(150, 175, 220), Rgb(150, 200, 150), Rgb(220, 180, 140),
                                    Rgb(190, 160, 215)};
    for (std::size_t m = 0; m < model.meshes.size() && m < 4; ++m) {
        DrawPartTriangles(canvas, model.meshes[m], fills[m], edges[m], size);
    }
    struct Label {
        TextureRegion region;
        const char* text;
    };
    const Label labels[] = {{kFrontRegion, "FRONT"},
                            {kBackRegion, "BACK"},
                            {kLeftSleeveRegion, "LEFT SLEEVE"},
                            {kRightSleeveRegion, "RIGHT SLEEVE"},
                            {kCollarRegion, "COLLAR"}};
    for (const Label& label : labels) {
        const PixelRect r = ToPixels(label.region, size);
        canvas.FrameRect(r.x0, r.y0, r.x1, r.y1, 2, Rgb(60, 60, 60));
        const double scale = std::min(size / 200.0, r.Height() / 12.0);
        DrawCentredText(canvas, r, r.y0 + (r.Height() - 8.0 * scale) / 2.0, label.text, scale,
                        Rgb(30, 30, 30));
    }
    const PixelRect back = ToPixels(kBackRegion, size);
    DrawCentredText(canvas, back, back.y0 + back.Height() / 2.0 + size / 40.0,
                    "as seen from behind", size / 300.0, Rgb(90, 90, 90));
    const PixelRect front = ToPixels(kFrontRegion, size);
    DrawCentredText(canvas, front, front.y1 - size / 40.0, "hem", size / 300.0, Rgb(90, 90, 90));
    for (const TextureRegion& region : {kLeftSleeveRegion, kRightSleeveRegion}) {
        const PixelRect sleeve = ToPixels(region, size);
        DrawCentredText(canvas, sleeve, sleeve.y0 + sleeve.Height() / 2.0 + size / 40.0,
                        "as seen from the front", size / 300.0, Rgb(90, 90, 90));
        DrawCentredText(canvas, sleeve, sleeve.y1 - size / 40.0, "cuff", size / 300.0,
                        Rgb(90, 90, 90));
    }
    return canvas.Picture();
}

}  // namespace maglorin::samples
