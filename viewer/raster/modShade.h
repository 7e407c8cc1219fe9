#pragma once
// The light model: the colour one vertex gets from the scene's single light. A spot factor, a
// diffuse and a specular term (no exponent), optional distance attenuation; the light's
// contribution is averaged with the material colour and the ambient colour added.

#include "scene/scene.h"
#include "scene/scene_records.h"

namespace maglorin {

// viewPosition: the vertex's ViewPosition (after the divide by depth); diffuse: the Diffuse of the
// face's material; normal: the face normal of the lighting pass. Rewrites the light's working
// ViewPosition and ViewDirection from the camera's ViewMatrix on every call.
ColourRGB ShadeVertex(const Vec4& viewPosition, const ColourRGB& diffuse, const Vec4& normal, Light& light,
                      const Camera& camera);

}  // namespace maglorin
