#include "raster/modShade.h"

#include "geometry/vector_math.h"
#include "raster/modColor.h"

namespace maglorin {

namespace {

float Limit01(float value) {
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

float NotNegative(float value) { return value < 0.0f ? 0.0f : value; }

float Attenuation(const Light& light, const Vec4& p, const Vec4& l) {
    if (light.Attenuate == kFalse16) return 1.0f;
    if (light.RangeEnd == light.RangeStart) return 0.0f;
    return Limit01((light.RangeEnd - Distance(p, l)) / (light.RangeEnd - light.RangeStart));
}

}  // namespace

ColourRGB ShadeVertex(const Vec4& viewPosition, const ColourRGB& diffuse, const Vec4& normal, Light& light,
                      const Camera& camera) {
    const Vec4& p = viewPosition;
    if (light.Enabled == kFalse16) return ColourRGB{0, 0, 0};
    light.ViewPosition = MatVecMul(camera.ViewMatrix, light.Position);
    light.ViewDirection = MatVecMul(camera.ViewMatrix, light.Direction);
    const Vec4 l = light.ViewPosition;

    float spot = 1.0f;
    if (light.Hotspot > 0.0f) {
        const float c = CosAngle(light.ViewDirection, SubVec(p, l));
        if (light.Hotspot == light.Falloff) return ColourRGB{0, 0, 0};
        spot = Limit01((light.Hotspot - c) / (light.Hotspot - light.Falloff));
    }
    const float dif = NotNegative(CosAngle(SubVec(l, p), normal) * light.DiffuseFactor);
    const Vec4 r = Reflect(SubVec(p, l), normal);
    const Vec4 v = SubVec(camera.Position, p);
    const float spe = NotNegative(CosAngle(r, v) * light.SpecularFactor);
    const float att = Attenuation(light, p, l);
    const float intensity = (spe + dif) * att * spot;

    const ColourRGB c1 = ScaleColour(light.Colour, intensity);
    const ColourRGB c2 = Blend(c1, diffuse, 0.5f);
    const ColourRGB c3 = AddColours(c2, light.Ambient);
    return ClampChannels(c3);
}

}  // namespace maglorin
