#pragma once
// The painter's order of the filled styles: the faces turned towards the viewer (or away from
// it), sorted by depth so that the farthest is drawn first. Each call rebuilds the scene's
// SortList from empty and rewrites every face's ScreenNormal.

#include <cstdint>
#include <vector>

#include "scene/scene.h"

namespace maglorin {

// Faces whose projected normal has z > 0, sorted by ascending depth (the sum of the three view
// depths, negative in front of the eye). Returns the upper index of SortList, -1 when empty.
// A face naming a vertex outside its mesh is left out.
std::int32_t BuildFrontList(Scene& scene);
// The same for the faces whose projected normal has z < 0. Faces seen edge-on are in neither.
std::int32_t BuildBackList(Scene& scene);

// Quicksort with Hoare partitioning of entries lo..hi by ascending Depth, the pivot being the
// depth of entry round((lo + hi) / 2) (halves to even). Not stable: this exact procedure decides
// the order of equal depths. Indices outside the list are ignored.
void SortByDepth(std::vector<SortEntry>& list, std::int32_t lo, std::int32_t hi);

}  // namespace maglorin
