#include "geometry/view_control.h"

#include "geometry/projection.h"
#include "geometry/vector_math.h"

namespace maglorin {

namespace {

constexpr float kScaleFloor = 0.1f;
constexpr float kFocalStep = 0.05f;

// round(angle) mod 360 with the remainder keeping the sign of the angle (-5 stays -5, 365 is 5).
// (The angles are whole degrees in practice; a wild value saturates rather than overflowing.)
float WrapDegrees(float angle) { return static_cast<float>(RoundPixel(angle) % 360); }

// Arrow and page keys move one axis each (Up/Down y, Left/Right x, Page Up/Page Down z), one key
// at a time in the order they are tested; opposite keys cancel.
void MovePoint(Vec4& point, const HeldKeys& keys, float step) {
    if (keys.IsHeld(kKeyUp)) point.y = point.y + step;
    if (keys.IsHeld(kKeyDown)) point.y = point.y - step;
    if (keys.IsHeld(kKeyLeft)) point.x = point.x - step;
    if (keys.IsHeld(kKeyRight)) point.x = point.x + step;
    if (keys.IsHeld(kKeyPageUp)) point.z = point.z + step;
    if (keys.IsHeld(kKeyPageDown)) point.z = point.z - step;
}

void ClampScale(Scene& scene) {
    if (scene.ModelScale.x < kScaleFloor) {
        scene.ModelScale = Vec4{kScaleFloor, kScaleFloor, kScaleFloor, 1.0f};
    }
}

void RotateModel(Scene& scene, const HeldKeys& keys) {
    Vec4& r = scene.ModelRotation;
    if (keys.IsHeld(kKeyUp)) r.x = r.x + 5.0f;
    if (keys.IsHeld(kKeyDown)) r.x = r.x - 5.0f;
    if (keys.IsHeld(kKeyLeft)) r.y = r.y - 5.0f;
    if (keys.IsHeld(kKeyRight)) r.y = r.y + 5.0f;
    if (keys.IsHeld(kKeyPageUp)) r.z = r.z - 5.0f;
    if (keys.IsHeld(kKeyPageDown)) r.z = r.z + 5.0f;
    r.x = WrapDegrees(r.x);
    r.y = WrapDegrees(r.y);
    r.z = WrapDegrees(r.z);
}

void ScaleModel(Scene& scene, const HeldKeys& keys) {
    if (keys.IsHeld(kKeyUp)) scene.ModelScale = AddScalar(scene.ModelScale, 0.1f);
    if (keys.IsHeld(kKeyDown)) scene.ModelScale = SubScalar(scene.ModelScale, 0.1f);
    if (keys.IsHeld(kKeyLeft)) scene.ModelScale = AddScalar(scene.ModelScale, 1.0f);
    if (keys.IsHeld(kKeyRight)) scene.ModelScale = SubScalar(scene.ModelScale, 1.0f);
    ClampScale(scene);
}

// The move step follows the current scale, so a zoomed-in model moves by more units.
void MoveModel(Scene& scene, const HeldKeys& keys) {
    MovePoint(scene.ModelTranslation, keys, scene.ModelScale.x);
}

void ApplyModelKeys(Scene& scene, const HeldKeys& keys) {
    if (keys.IsHeld(kKeyR)) {
        RotateModel(scene, keys);
    } else if (keys.IsHeld(kKeyS)) {
        ScaleModel(scene, keys);
    } else if (keys.IsHeld(kKeyT)) {
        MoveModel(scene, keys);
    }
}

bool ChangeFocalLength(Camera& camera, const HeldKeys& keys) {
    const float before = camera.FocalLength;
    if (keys.IsHeld(kKeyPageUp) && camera.FocalLength > kFocalStep) {
        camera.FocalLength = camera.FocalLength - kFocalStep;
    }
    if (keys.IsHeld(kKeyPageDown)) camera.FocalLength = camera.FocalLength + kFocalStep;
    return camera.FocalLength != before;
}

void RollCamera(Camera& camera, const HeldKeys& keys) {
    if (keys.IsHeld(kKeyUp)) camera.Roll = camera.Roll + 1.0f;
    if (keys.IsHeld(kKeyDown)) camera.Roll = camera.Roll - 1.0f;
    camera.Roll = WrapDegrees(camera.Roll);
}

// Returns true when the focal length changed.
bool ApplyCameraKeys(Scene& scene, const HeldKeys& keys) {
    Camera& camera = scene.Camera;
    if (keys.IsHeld(kKeyQ)) {
        MovePoint(camera.Target, keys, scene.KeyStep);
        UpdateCameraUp(camera);
    } else if (keys.IsHeld(kKeyW)) {
        MovePoint(camera.Position, keys, scene.KeyStep);
        UpdateCameraUp(camera);
    } else if (keys.IsHeld(kKeyY)) {
        RollCamera(camera, keys);
        UpdateCameraUp(camera);
    } else if (keys.IsHeld(kKeyZ)) {
        return ChangeFocalLength(camera, keys);
    }
    return false;
}

void ApplyLightKeys(Scene& scene, const HeldKeys& keys) {
    if (keys.IsHeld(kKeyL)) {
        MovePoint(scene.Light.Position, keys, scene.KeyStep);
    } else if (keys.IsHeld(kKeyK)) {
        MovePoint(scene.Light.Direction, keys, scene.KeyStep);
    }
}

}  // namespace

ViewInputResult ApplyHeldKeys(Scene& scene, const HeldKeys& keys) {
    ViewInputResult result;
    scene.KeyStep = 5.0f;
    ApplyModelKeys(scene, keys);
    result.focalLengthChanged = ApplyCameraKeys(scene, keys);
    ApplyLightKeys(scene, keys);
    if (keys.IsHeld(kKeyC)) ResetCamera(scene);
    if (keys.IsHeld(kKeyX)) ResetView(scene);
    result.closeRequested = keys.IsHeld(kKeyEscape);
    return result;
}

void WheelZoom(Scene& scene, int notch) {
    if (notch < 0) {
        scene.ModelScale = AddScalar(scene.ModelScale, 0.25f);
    } else if (notch > 0) {
        scene.ModelScale = SubScalar(scene.ModelScale, 0.25f);
    }
    ClampScale(scene);
}

void UpdateCameraUp(Camera& camera) {
    if (camera.Target.z == camera.Position.z) {
        camera.Position.z = camera.Position.z + 1.0f;
    }
    const float dx = camera.Target.x - camera.Position.x;
    const float dy = camera.Target.y - camera.Position.y;
    if (dx != 0.0f || dy != 0.0f) {
        if (camera.Target.z - camera.Position.z >= 0.0f) {
            camera.Up.x = -dx;
            camera.Up.y = -dy;
        } else {
            camera.Up.x = dx;
            camera.Up.y = dy;
        }
    } else {
        camera.Up.x = 0.0f;
        camera.Up.y = 1.0f;
    }
    camera.Up = MatVecMul(RotationZ(DegToRad(camera.Roll)), camera.Up);
}

}  // namespace maglorin
