#include "raster/modShade.h"

#include <gtest/gtest.h>

#include "geometry/vector_math.h"

namespace maglorin {
namespace {

// Vertex at the view origin, light straight ahead at (0, 0, 120) with the default record values,
// the camera matrix the identity.
struct ShadeSetup {
    Light light;
    Camera camera;
    Vec4 position{0.0f, 0.0f, 0.0f, 1.0f};

    ShadeSetup() { camera.ViewMatrix = IdentityMatrix(); }
};

void ExpectColour(const ColourRGB& c, int red, int green, int blue) {
    EXPECT_EQ(c.red, red);
    EXPECT_EQ(c.green, green);
    EXPECT_EQ(c.blue, blue);
}

TEST(ShadeVertexTest, UnlitVertexGetsHalfItsMaterialPlusAmbient) {
    ShadeSetup s;
    const Vec4 awayFromLight{0.0f, 0.0f, -1.0f, 1.0f};  // dif < 0 and no reflection: i = 0
    ExpectColour(ShadeVertex(s.position, {101, 255, 3}, awayFromLight, s.light, s.camera), 50, 128, 2);
    s.light.Ambient = {10, 0, 200};
    ExpectColour(ShadeVertex(s.position, {101, 255, 3}, awayFromLight, s.light, s.camera), 60, 128, 202);
}

TEST(ShadeVertexTest, IntensityTwoWithTheDefaultColourSaturates) {
    ShadeSetup s;
    s.camera.Position = {0.0f, 0.0f, -50.0f, 1.0f};  // viewer behind the vertex: no specular term
    const Vec4 towardsLight{0.0f, 0.0f, 1.0f, 1.0f};  // dif = 2
    // c1 = (260, 260, 260); blended with the material: 130, round(257.5) = 258 -> 255, 180.
    ExpectColour(ShadeVertex(s.position, {0, 255, 100}, towardsLight, s.light, s.camera), 130, 255, 180);
}

TEST(ShadeVertexTest, SpecularAddsWithoutExponent) {
    ShadeSetup s;
    s.camera.Position = {0.0f, 0.0f, 120.0f, 1.0f};  // viewer where the light is: cos = 1
    const Vec4 towardsLight{0.0f, 0.0f, 1.0f, 1.0f};
    // i = 2 + 2 = 4: c1 = 520; blended with black: 260, clamped.
    ExpectColour(ShadeVertex(s.position, {0, 0, 0}, towardsLight, s.light, s.camera), 255, 255, 255);
    s.light.SpecularFactor = 0.5f;  // i = 2.5: c1 = 325, halves 162.5 -> 162
    ExpectColour(ShadeVertex(s.position, {0, 0, 0}, towardsLight, s.light, s.camera), 162, 162, 162);
}

TEST(ShadeVertexTest, SwitchedOffOrDegenerateSpotGivesBlack) {
    ShadeSetup s;
    const Vec4 towardsLight{0.0f, 0.0f, 1.0f, 1.0f};
    s.light.Enabled = kFalse16;
    ExpectColour(ShadeVertex(s.position, {200, 200, 200}, towardsLight, s.light, s.camera), 0, 0, 0);
    s.light.Enabled = kTrue16;
    s.light.Hotspot = 0.5f;
    s.light.Falloff = 0.5f;
    ExpectColour(ShadeVertex(s.position, {200, 200, 200}, towardsLight, s.light, s.camera), 0, 0, 0);
}

TEST(ShadeVertexTest, AttenuationFollowsTheRange) {
    ShadeSetup s;
    s.camera.Position = {0.0f, 0.0f, -50.0f, 1.0f};
    const Vec4 towardsLight{0.0f, 0.0f, 1.0f, 1.0f};
    s.light.Attenuate = kTrue16;
    s.light.RangeStart = 50.0f;
    s.light.RangeEnd = 50.0f;  // equal ends: att = 0
    ExpectColour(ShadeVertex(s.position, {0, 255, 101}, towardsLight, s.light, s.camera), 0, 128, 50);
    s.light.RangeStart = 0.0f;
    s.light.RangeEnd = 240.0f;  // distance 120: att = 0.5, i = 1, c1 = 130
    ExpectColour(ShadeVertex(s.position, {0, 0, 0}, towardsLight, s.light, s.camera), 65, 65, 65);
}

TEST(ShadeVertexTest, SpotFactorDimsOutsideTheCone) {
    ShadeSetup s;
    s.camera.Position = {0.0f, 0.0f, -50.0f, 1.0f};
    const Vec4 towardsLight{0.0f, 0.0f, 1.0f, 1.0f};
    s.light.Direction = {0.0f, 0.0f, -1.0f, 1.0f};  // pointing at the vertex: c = 1
    s.light.Hotspot = 1.5f;
    s.light.Falloff = 0.5f;  // spot = (1.5 - 1) / 1 = 0.5, i = 1
    ExpectColour(ShadeVertex(s.position, {0, 0, 0}, towardsLight, s.light, s.camera), 65, 65, 65);
}

TEST(ShadeVertexTest, RewritesTheLightsViewPositionFromTheCamera) {
    ShadeSetup s;
    s.camera.ViewMatrix.m[3] = 10.0f;  // move view x by 10
    ShadeVertex(s.position, {0, 0, 0}, {0.0f, 0.0f, 1.0f, 1.0f}, s.light, s.camera);
    EXPECT_EQ(s.light.ViewPosition.x, 10.0f);
    EXPECT_EQ(s.light.ViewPosition.z, 120.0f);
    EXPECT_EQ(s.light.ViewDirection.x, 10.0f);
}

}  // namespace
}  // namespace maglorin
