// One projector's warp grid and alpha map, computed in one pass over its
// pixels on several threads. At every pixel centre the projector's ray meets
// the screen once; the alpha map (BlendWeights) and, when the grid has a
// point per pixel, the warp (WarpGrid) both use that screen point. The
// results do not depend on the number of threads.
#pragma once

#include <array>
#include <vector>

#include "rig/export/BlendWeights.h"
#include "rig/export/FrustumMapping.h"
#include "rig/export/WarpGrid.h"

namespace rig {

struct ProjectorMaps {
  WarpGridSize grid;
  std::vector<float> warp;   // 3 floats per grid point, rows top first
  std::array<int, 2> resolution{};
  std::vector<float> alpha;  // one weight per pixel, rows top first, 0..1
};

ProjectorMaps ComputeProjectorMaps(const BlendWeights& blend, int projector,
                                   std::array<int, 2> resolution, const FrustumMapping& frustum,
                                   int warpStep, int threads);

}  // namespace rig
