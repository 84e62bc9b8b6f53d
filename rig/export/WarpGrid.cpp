#include "rig/export/WarpGrid.h"

#include <algorithm>
#include <cmath>

#include "host/vistrel/Oru_Vistrel.h"
#include "rig/export/ParallelRows.h"

namespace rig {
namespace {

// The coarsest grid of profile level 1: one point per 10 pixels.
constexpr int kLevelOnePixelsPerPoint = 10;

}  // namespace

WarpGridSize WarpGridSizeFor(std::array<int, 2> resolution, int step) {
  const int s = std::max(1, step);
  return {std::max(2, resolution[0] / s), std::max(2, resolution[1] / s)};
}

int ProfileLevelOf(std::array<int, 2> resolution, WarpGridSize grid) {
  const bool coarse = grid.width <= resolution[0] / kLevelOnePixelsPerPoint &&
                      grid.height <= resolution[1] / kLevelOnePixelsPerPoint;
  return coarse ? 1 : 3;
}

WarpSample WarpAt(D3DXVECTOR3 p, float angle, const ExtentMembership& extent,
                  const FrustumMapping& frustum) {
  WarpSample s{NAN, NAN, 1.0f};
  float u, v;
  if (extent.Contains(p, angle) && frustum.Normalised(p, u, v)) s = {u, v, 0.0f};
  return s;
}

std::vector<float> ComputeWarpGrid(const ProjectorLens& lens, float radius,
                                   const ExtentMembership& extent, const FrustumMapping& frustum,
                                   WarpGridSize grid, int threads) {
  std::vector<float> out(std::size_t(grid.width) * grid.height * 3);
  ForEachRow(grid.height, threads, [&](int j) {
    float* row = out.data() + std::size_t(j) * grid.width * 3;
    const float v = (static_cast<float>(j) + 0.5f) / static_cast<float>(grid.height);
    for (int i = 0; i < grid.width; ++i) {
      const float u = (static_cast<float>(i) + 0.5f) / static_cast<float>(grid.width);
      const D3DXVECTOR3 p = ScreenPointOfImage(lens, radius, u, v);
      const WarpSample s = WarpAt(p, ScreenAngleOf(p), extent, frustum);
      row[3 * i] = s.u;
      row[3 * i + 1] = s.v;
      row[3 * i + 2] = s.error;
    }
  });
  return out;
}

}  // namespace rig
