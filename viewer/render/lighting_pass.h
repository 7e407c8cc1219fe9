#pragma once
// The lighting passes of a frame: every vertex of the faces drawn gets its Colour once per frame,
// lit by the light model with the normal of the first face that reaches it, or the material's own
// colour when the light is off. The Transformed mark records which vertices are done.

#include <cstdint>

#include "scene/scene.h"

namespace maglorin {

// Every face of every mesh: all marks of the faces' vertices cleared first, then the faces
// coloured in mesh and face order.
void LightAllMeshes(Scene& scene, bool light);

// The same over the faces listed in SortList, in list order.
void LightSortedFaces(Scene& scene, bool light);

// One face: the normal of its raw view positions, then ShadeVertex for each unmarked corner.
void LightFaceVertices(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex);

// One face with the light off: each unmarked corner takes the material's Diffuse.
void ColourFaceVerticesUnlit(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex);

}  // namespace maglorin
