#pragma once
// The viewer's value records. Reals are single precision; booleans kept in records are 16-bit
// 0 / -1 (Bool16); tables are indexed from 0 with an explicit upper bound where -1 means empty.

#include <cstdint>

namespace maglorin {

using Bool16 = std::int16_t;
inline constexpr Bool16 kTrue16 = -1;
inline constexpr Bool16 kFalse16 = 0;

inline constexpr Bool16 ToBool16(bool value) { return value ? kTrue16 : kFalse16; }

// Points carry w = 1, scaled vectors w = 0 (see the vector operations).
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

// Row-major: m[row * 4 + column]; vectors are columns, translation in m03, m13, m23.
struct Matrix4 {
    float m[16] = {};
};

// Channels 0..255 in 16-bit signed integers, constructed (red, green, blue).
struct ColourRGB {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;
};

// Pixel position on the canvas.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

struct Vertex {
    Vec4 Position;          // model space, w = 1
    Vec4 ViewPosition;      // view space; x, y divided by z when z != 0 (per frame)
    Vec4 ViewPositionRaw;   // view space before the division (per frame)
    ColourRGB Colour;       // lit colour (per frame)
    Bool16 Transformed = kFalse16;
};

struct Face {
    std::int32_t A = 0;
    std::int32_t B = 0;
    std::int32_t C = 0;
    Bool16 EdgeAB = kFalse16;
    Bool16 EdgeBC = kFalse16;
    Bool16 EdgeCA = kFalse16;
    Vec4 ScreenNormal;          // unnormalised normal in projected view space (per frame)
    std::int16_t Material = 0;  // index into the scene's materials
};

struct SortEntry {
    std::int16_t MeshIndex = 0;
    std::int32_t FaceIndex = 0;
    float Depth = 0.0f;
};

// The index of the Style menu entry.
enum VisualStyle : std::int32_t {
    kStyleDot = 0,
    kStyleBox = 1,
    kStyleWireframe = 2,
    kStyleWireframeMap = 3,
    kStyleWireframeBFC = 4,
    kStyleFlat = 5,
    kStyleGouraud = 6,
    kStyleMapped = 7,
    kStylePhotoRealistic = 8,
};
inline constexpr int kVisualStyleCount = 9;

}  // namespace maglorin
