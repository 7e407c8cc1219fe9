// The frame tick's key rules: groups and their precedence, steps, clamps and the angle wrap, the
// wheel zoom and the camera's up vector.
#include "geometry/view_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/vector_math.h"

namespace maglorin {
namespace {

Scene FittedScene() {
    Scene scene;
    scene.FitTranslation = Vec4{-1.0f, -2.0f, -3.0f, 1.0f};
    scene.FitScale = Vec4{0.6f, 0.6f, 0.6f, 1.0f};
    ResetView(scene);
    return scene;
}

void Tick(Scene& scene, const HeldKeys& keys, int ticks) {
    for (int i = 0; i < ticks; ++i) ApplyHeldKeys(scene, keys);
}

// One row: keys held for a number of ticks from the fitted scene, then the rotation expected.
struct RotationCase {
    std::string name;
    HeldKeys keys;
    int ticks;
    Vec4 expected;
};

TEST(ViewControlRotate, StepsAndWrapsEachAngle) {
    const std::vector<RotationCase> cases = {
        {"right once", {kKeyR, kKeyRight}, 1, {0, 5, 0, 1}},
        {"left once keeps the sign", {kKeyR, kKeyLeft}, 1, {0, -5, 0, 1}},
        {"left 71 times", {kKeyR, kKeyLeft}, 71, {0, -355, 0, 1}},
        {"left full turn", {kKeyR, kKeyLeft}, 72, {0, 0, 0, 1}},
        {"right full turn", {kKeyR, kKeyRight}, 72, {0, 0, 0, 1}},
        {"right 73 times", {kKeyR, kKeyRight}, 73, {0, 5, 0, 1}},
        {"up turns x", {kKeyR, kKeyUp}, 2, {10, 0, 0, 1}},
        {"down turns x back", {kKeyR, kKeyDown}, 1, {-5, 0, 0, 1}},
        {"page up turns z negative", {kKeyR, kKeyPageUp}, 1, {0, 0, -5, 1}},
        {"page down turns z", {kKeyR, kKeyPageDown}, 3, {0, 0, 15, 1}},
        {"up and down cancel", {kKeyR, kKeyUp, kKeyDown}, 4, {0, 0, 0, 1}},
        {"arrow and page combine", {kKeyR, kKeyRight, kKeyPageDown}, 2, {0, 10, 10, 1}},
        {"arrows without R do nothing", {kKeyRight, kKeyUp}, 5, {0, 0, 0, 1}},
        {"R wins over S and T", {kKeyR, kKeyS, kKeyT, kKeyUp}, 1, {5, 0, 0, 1}},
    };
    for (const RotationCase& c : cases) {
        Scene scene = FittedScene();
        Tick(scene, c.keys, c.ticks);
        EXPECT_EQ(scene.ModelRotation.x, c.expected.x) << c.name;
        EXPECT_EQ(scene.ModelRotation.y, c.expected.y) << c.name;
        EXPECT_EQ(scene.ModelRotation.z, c.expected.z) << c.name;
        if (c.keys.IsHeld(kKeyR)) {
            EXPECT_EQ(scene.ModelScale.x, 0.6f) << c.name << ": R must not scale";
            EXPECT_EQ(scene.ModelTranslation.y, -2.0f) << c.name << ": R must not move";
        }
    }
}

TEST(ViewControlRotate, RoundsFractionalAnglesHalfToEven) {
    const std::vector<std::pair<float, float>> cases = {
        {2.5f, 2.0f}, {3.5f, 4.0f}, {-2.5f, -2.0f}, {367.5f, 8.0f}, {-0.4f, 0.0f}, {359.6f, 0.0f}};
    for (const auto& [start, expected] : cases) {
        Scene scene = FittedScene();
        scene.ModelRotation.z = start;
        ApplyHeldKeys(scene, HeldKeys{kKeyR});
        EXPECT_EQ(scene.ModelRotation.z, expected) << "from " << start;
    }
}

struct ScaleCase {
    std::string name;
    float start;
    HeldKeys keys;
    int ticks;
    float expected;
};

TEST(ViewControlScale, StepsAndClampsAtOneTenth) {
    const std::vector<ScaleCase> cases = {
        {"up adds a tenth", 1.0f, {kKeyS, kKeyUp}, 1, 1.1f},
        {"left adds one", 1.0f, {kKeyS, kKeyLeft}, 2, 3.0f},
        {"right from 0.6 clamps after one tick", 0.6f, {kKeyS, kKeyRight}, 1, 0.1f},
        {"down below a tenth clamps", 0.3f, {kKeyS, kKeyDown}, 5, 0.1f},
        {"S wins over T", 1.0f, {kKeyS, kKeyT, kKeyUp}, 1, 1.1f},
    };
    for (const ScaleCase& c : cases) {
        Scene scene = FittedScene();
        scene.ModelScale = Vec4{c.start, c.start, c.start, 1.0f};
        Tick(scene, c.keys, c.ticks);
        EXPECT_FLOAT_EQ(scene.ModelScale.x, c.expected) << c.name;
        EXPECT_EQ(scene.ModelScale.x, scene.ModelScale.y) << c.name;
        EXPECT_EQ(scene.ModelScale.x, scene.ModelScale.z) << c.name;
        EXPECT_EQ(scene.ModelScale.w, 1.0f) << c.name;
        EXPECT_EQ(scene.ModelTranslation.y, -2.0f) << c.name << ": S must not move";
    }
}

TEST(ViewControlScale, ClampGivesExactlyOneTenth) {
    Scene scene = FittedScene();
    ApplyHeldKeys(scene, HeldKeys{kKeyS, kKeyRight});
    EXPECT_EQ(scene.ModelScale.x, 0.1f);
    EXPECT_EQ(scene.ModelScale.z, 0.1f);
}

TEST(ViewControlMove, StepFollowsTheCurrentScale) {
    Scene scene = FittedScene();
    ApplyHeldKeys(scene, HeldKeys{kKeyT, kKeyRight});
    EXPECT_FLOAT_EQ(scene.ModelTranslation.x, -1.0f + 0.6f);
    scene.ModelScale = Vec4{2.0f, 2.0f, 2.0f, 1.0f};
    ApplyHeldKeys(scene, HeldKeys{kKeyT, kKeyUp, kKeyPageUp});
    EXPECT_FLOAT_EQ(scene.ModelTranslation.y, -2.0f + 2.0f);
    EXPECT_FLOAT_EQ(scene.ModelTranslation.z, -3.0f + 2.0f);
    ApplyHeldKeys(scene, HeldKeys{kKeyT, kKeyLeft, kKeyDown, kKeyPageDown});
    EXPECT_FLOAT_EQ(scene.ModelTranslation.x, -1.0f + 0.6f - 2.0f);
    EXPECT_FLOAT_EQ(scene.ModelTranslation.y, -2.0f);
    EXPECT_FLOAT_EQ(scene.ModelTranslation.z, -3.0f);
}

// Camera and light groups: which point a letter moves and by how much per tick.
struct PointCase {
    std::string name;
    HeldKeys keys;
    Vec4 target;
    Vec4 eye;
    Vec4 lightPosition;
    Vec4 lightDirection;
};

TEST(ViewControlCameraAndLight, LettersMoveTheirPointByFive) {
    const std::vector<PointCase> cases = {
        {"Q up", {kKeyQ, kKeyUp}, {0, 5, 0, 1}, {0, 0, 120, 1}, {0, 0, 120, 1}, {0, 0, 0, 1}},
        {"Q left page up", {kKeyQ, kKeyLeft, kKeyPageUp}, {-5, 0, 5, 1}, {0, 0, 120, 1},
         {0, 0, 120, 1}, {0, 0, 0, 1}},
        {"Q wins over W", {kKeyQ, kKeyW, kKeyRight}, {5, 0, 0, 1}, {0, 0, 120, 1}, {0, 0, 120, 1},
         {0, 0, 0, 1}},
        {"W moves the eye", {kKeyW, kKeyDown, kKeyPageDown}, {0, 0, 0, 1}, {0, -5, 115, 1},
         {0, 0, 120, 1}, {0, 0, 0, 1}},
        {"L moves the light", {kKeyL, kKeyRight, kKeyPageDown}, {0, 0, 0, 1}, {0, 0, 120, 1},
         {5, 0, 115, 1}, {0, 0, 0, 1}},
        {"L wins over K", {kKeyL, kKeyK, kKeyUp}, {0, 0, 0, 1}, {0, 0, 120, 1}, {0, 5, 120, 1},
         {0, 0, 0, 1}},
        {"K moves the direction", {kKeyK, kKeyLeft, kKeyUp}, {0, 0, 0, 1}, {0, 0, 120, 1},
         {0, 0, 120, 1}, {-5, 5, 0, 1}},
        {"camera and light groups act together", {kKeyQ, kKeyL, kKeyUp}, {0, 5, 0, 1},
         {0, 0, 120, 1}, {0, 5, 120, 1}, {0, 0, 0, 1}},
    };
    auto expectPoint = [](const Vec4& actual, const Vec4& expected, const std::string& what) {
        EXPECT_EQ(actual.x, expected.x) << what;
        EXPECT_EQ(actual.y, expected.y) << what;
        EXPECT_EQ(actual.z, expected.z) << what;
    };
    for (const PointCase& c : cases) {
        Scene scene = FittedScene();
        ApplyHeldKeys(scene, c.keys);
        expectPoint(scene.Camera.Target, c.target, c.name + ": target");
        expectPoint(scene.Camera.Position, c.eye, c.name + ": eye");
        expectPoint(scene.Light.Position, c.lightPosition, c.name + ": light position");
        expectPoint(scene.Light.Direction, c.lightDirection, c.name + ": light direction");
        EXPECT_EQ(scene.KeyStep, 5.0f);
    }
}

TEST(ViewControlCamera, MovingTheTargetTurnsTheUpVector) {
    Scene scene = FittedScene();
    ApplyHeldKeys(scene, HeldKeys{kKeyQ, kKeyRight});
    // Target (5, 0, 0) in front of the eye at z 120: Up = (dx, dy) = (5, 0).
    EXPECT_FLOAT_EQ(scene.Camera.Up.x, 5.0f);
    EXPECT_FLOAT_EQ(scene.Camera.Up.y, 0.0f);
    EXPECT_EQ(scene.Camera.Up.z, 0.0f);
}

TEST(ViewControlCamera, RollStepsByOneDegreeAndWraps) {
    Scene scene = FittedScene();
    Tick(scene, HeldKeys{kKeyY, kKeyDown}, 3);
    EXPECT_EQ(scene.Camera.Roll, -3.0f);
    scene.Camera.Roll = 359.0f;
    ApplyHeldKeys(scene, HeldKeys{kKeyY, kKeyUp});
    EXPECT_EQ(scene.Camera.Roll, 0.0f);
    scene.Camera.Roll = 90.0f;
    ApplyHeldKeys(scene, HeldKeys{kKeyY});
    // Eye straight above the target: (0, 1) turned by 90 degrees is (-1, 0).
    EXPECT_NEAR(scene.Camera.Up.x, -1.0f, 1e-6f);
    EXPECT_NEAR(scene.Camera.Up.y, 0.0f, 1e-6f);
}

TEST(ViewControlCamera, FocalLengthStopsAtTheFirstValueNotAboveAStep) {
    Scene scene = FittedScene();
    ViewInputResult result = ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyPageUp});
    EXPECT_TRUE(result.focalLengthChanged);
    for (int i = 0; i < 100; ++i) ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyPageUp});
    EXPECT_LE(scene.Camera.FocalLength, 0.05f);
    EXPECT_GT(scene.Camera.FocalLength + 0.05f, 0.05f);
    const float floor = scene.Camera.FocalLength;
    result = ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyPageUp});
    EXPECT_EQ(scene.Camera.FocalLength, floor);
    EXPECT_FALSE(result.focalLengthChanged);

    scene.Camera.FocalLength = 0.05f;
    ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyPageUp});
    EXPECT_EQ(scene.Camera.FocalLength, 0.05f);
    ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyPageDown});
    EXPECT_FLOAT_EQ(scene.Camera.FocalLength, 0.1f);
    result = ApplyHeldKeys(scene, HeldKeys{kKeyZ, kKeyUp});
    EXPECT_FALSE(result.focalLengthChanged) << "arrows do not change the focal length";
}

TEST(ViewControlReset, CRestoresTheCameraAndXTheFittedModel) {
    Scene scene = FittedScene();
    Tick(scene, HeldKeys{kKeyR, kKeyRight, kKeyW, kKeyUp}, 3);
    scene.ModelScale = Vec4{3.0f, 3.0f, 3.0f, 1.0f};
    ApplyHeldKeys(scene, HeldKeys{kKeyC, kKeyX});
    const Scene fresh;
    EXPECT_EQ(scene.Camera.Position.y, fresh.Camera.Position.y);
    EXPECT_EQ(scene.Camera.Position.z, fresh.Camera.Position.z);
    EXPECT_EQ(scene.Camera.Up.y, 1.0f);
    EXPECT_EQ(scene.ModelRotation.y, 0.0f);
    EXPECT_EQ(scene.ModelScale.x, 0.6f);
    EXPECT_EQ(scene.ModelTranslation.z, -3.0f);
}

TEST(ViewControlReset, EscapeAsksToCloseAndNothingElseDoes) {
    Scene scene = FittedScene();
    EXPECT_TRUE(ApplyHeldKeys(scene, HeldKeys{kKeyEscape}).closeRequested);
    EXPECT_FALSE(ApplyHeldKeys(scene, HeldKeys{kKeyR, kKeyC, kKeyX}).closeRequested);
}

TEST(ViewControlWheel, NotchesZoomByAQuarterAndClamp) {
    Scene scene = FittedScene();
    WheelZoom(scene, -1);
    EXPECT_FLOAT_EQ(scene.ModelScale.x, 0.85f);
    WheelZoom(scene, +1);
    WheelZoom(scene, +1);
    EXPECT_FLOAT_EQ(scene.ModelScale.x, 0.35f);
    WheelZoom(scene, +1);
    EXPECT_FLOAT_EQ(scene.ModelScale.x, 0.1f);  // 0.35 - 0.25 lands a hair above 0.1
    WheelZoom(scene, +1);
    EXPECT_EQ(scene.ModelScale.x, 0.1f);
    EXPECT_EQ(scene.ModelScale.y, 0.1f);
    WheelZoom(scene, 0);
    EXPECT_EQ(scene.ModelScale.x, 0.1f);
}

struct UpCase {
    std::string name;
    Vec4 eye;
    Vec4 target;
    float roll;
    float upX;
    float upY;
    float eyeZ;
};

TEST(ViewControlUp, FollowsTheLineOfSightAndTheRoll) {
    const std::vector<UpCase> cases = {
        {"straight on", {0, 0, 120, 1}, {0, 0, 0, 1}, 0, 0, 1, 120},
        {"target behind the eye", {0, 0, -10, 1}, {3, 4, 0, 1}, 0, -3, -4, -10},
        {"target in front", {0, 0, 10, 1}, {3, 4, 0, 1}, 0, 3, 4, 10},
        {"level eye moves one unit", {0, 0, 5, 1}, {2, 0, 5, 1}, 0, 2, 0, 6},
        {"roll 180", {0, 0, 120, 1}, {0, 0, 0, 1}, 180, 0, -1, 120},
    };
    for (const UpCase& c : cases) {
        Camera camera;
        camera.Position = c.eye;
        camera.Target = c.target;
        camera.Roll = c.roll;
        camera.Up.z = 7.0f;
        UpdateCameraUp(camera);
        EXPECT_NEAR(camera.Up.x, c.upX, 1e-5f) << c.name;
        EXPECT_NEAR(camera.Up.y, c.upY, 1e-5f) << c.name;
        EXPECT_EQ(camera.Up.z, 7.0f) << c.name << ": z is never changed";
        EXPECT_EQ(camera.Position.z, c.eyeZ) << c.name;
    }
}

}  // namespace
}  // namespace maglorin
