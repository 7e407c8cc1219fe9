#pragma once
// The sample shirt model shipped as kit.3ds: a torso (front and back panels rounding over the
// shoulders, with a neck opening), a collar band and two short sleeves, mapped into one kit
// picture laid out as the kit template shows.

#include <string>

#include "scene/model_writer.h"

namespace maglorin::samples {

// Where each part of the shirt lies in texture space (u right, v up; picture bottom is v = 0).
struct TextureRegion {
    float u0, v0, u1, v1;
};
inline constexpr TextureRegion kFrontRegion{0.02f, 0.30f, 0.48f, 0.90f};
inline constexpr TextureRegion kBackRegion{0.52f, 0.30f, 0.98f, 0.90f};
// Left and right as seen from the front.
inline constexpr TextureRegion kLeftSleeveRegion{0.02f, 0.03f, 0.48f, 0.26f};
inline constexpr TextureRegion kRightSleeveRegion{0.52f, 0.03f, 0.98f, 0.26f};
inline constexpr TextureRegion kCollarRegion{0.02f, 0.93f, 0.98f, 0.98f};

// Material order matters: the viewer lays the opened kit picture on materials 0, 1 and 2.
inline constexpr int kFrontMaterial = 0;
inline constexpr int kBackMaterial = 1;
inline constexpr int kSleeveMaterial = 2;

// The shirt with every material's texture file set to `textureFile` (a name beside kit.3ds).
ModelDescription BuildKitModel(const std::string& textureFile);

}  // namespace maglorin::samples
