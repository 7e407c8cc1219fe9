#pragma once
// The pictures of the sample kit: the background of the viewer, two kit textures and the kit
// template that shows a designer where front, back, sleeves and collar lie in texture space.
// All are drawn from fixed rules, so every build makes the same pictures.

#include "image/decoded_picture.h"
#include "scene/model_writer.h"

namespace maglorin::samples {

// A football pitch under a stadium and an evening sky.
DecodedPicture MakeBackground(int width, int height);
// Red and white vertical stripes, red sleeves, number 9 on the back.
DecodedPicture MakeHomeKit(int size);
// Navy with yellow hoops, number 7 on the back.
DecodedPicture MakeAwayKit(int size);
// The texture-space layout of `model`'s parts: regions, their triangles and labels.
DecodedPicture MakeKitTemplate(const ModelDescription& model, int size);

}  // namespace maglorin::samples
