#pragma once
// A scene of its own for each frame rendered on a worker thread. Everything a frame writes (the
// projected and lit vertices, the sort list, the matrices, the frame surface) is copied or made
// anew; the pictures the frame only reads (material textures, the background) are shared with
// the prepared scene through views of its words.
//
// Keep in step with Scene (viewer/scene/scene.h): a field added there must be copied here, or
// the frames of a turntable stop matching the single render (guarded by the turntable tests).

#include "scene/scene.h"

namespace maglorin::render_tool {

// Makes `copy` (a fresh Scene) render exactly what `source` renders. `source` must outlive
// `copy` and must not change while `copy` is in use: the copy reads its pictures.
void CopySceneForFrame(const Scene& source, Scene& copy);

}  // namespace maglorin::render_tool
