#pragma once
// Models for the reader tests, built with our 3DS writer.

#include <cstdint>
#include <string>
#include <vector>

#include "scene/chunk_ids.h"
#include "scene/model_writer.h"
#include "scene/scene.h"

namespace maglorin::test_support {

// Two textured materials and a plain one; a quad mesh "Front" with face materials and mapping
// coordinates, and a triangle mesh "Back".
inline ModelDescription TwoMeshModel() {
    ModelDescription model;
    ModelMaterial red{"Red", 255, 0, 0, 50, "red.jpg", 2.0f, 3.0f, 0.125f, 0.25f, 30.0f};
    ModelMaterial green{"Green", 0, 200, 10, 0, "green.jpg", 1.0f, 1.0f, 0.0f, -0.5f, -45.0f};
    ModelMaterial blue{"Blue", 1, 2, 250, 100, "", 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    model.materials = {red, green, blue};

    ModelMesh front;
    front.name = "Front";
    front.vertices = {{-1, -1, 0, 1}, {1, -1, 0, 1}, {1, 1, 0.5f, 1}, {-1, 1, 0, 1}};
    front.faces = {{0, 1, 2, 7}, {2, 3, 0, 3}};
    front.faceMaterials = {{"Green", {1}}, {"Red", {0}}};
    front.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    ModelMesh back;
    back.name = "Back";
    back.vertices = {{0, 0, -1, 1}, {2, 0, -1, 1}, {0, 3, -2, 1}};
    back.faces = {{2, 1, 0, 4}};
    back.faceMaterials = {{"Blue", {0}}};
    model.meshes = {front, back};
    return model;
}

// Header of a chunk with a chosen length, for files whose lengths do not add up.
inline void RawHeader(std::vector<std::uint8_t>& out, std::uint16_t id, std::uint32_t length) {
    out.push_back(static_cast<std::uint8_t>(id));
    out.push_back(static_cast<std::uint8_t>(id >> 8));
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
}

inline void PutU32At(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace maglorin::test_support
