#include "rig/export/ProjectorMaps.h"

#include "host/vistrel/Oru_Vistrel.h"
#include "rig/export/ParallelRows.h"

namespace rig {

ProjectorMaps ComputeProjectorMaps(const BlendWeights& blend, int projector,
                                   std::array<int, 2> resolution, const FrustumMapping& frustum,
                                   int warpStep, int threads) {
  ProjectorMaps maps;
  maps.resolution = resolution;
  maps.grid = WarpGridSizeFor(resolution, warpStep);
  const int width = resolution[0], height = resolution[1];
  const bool warpPerPixel = maps.grid.width == width && maps.grid.height == height;
  maps.alpha.assign(std::size_t(width) * height, 0.0f);
  if (warpPerPixel) maps.warp.assign(std::size_t(width) * height * 3, 0.0f);
  const ProjectorLens& lens = blend.Lens(projector);
  const float radius = blend.Radius();
  ForEachRow(height, threads, [&](int y) {
    const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
    float* alpha = maps.alpha.data() + std::size_t(y) * width;
    float* warp = warpPerPixel ? maps.warp.data() + std::size_t(y) * width * 3 : nullptr;
    for (int x = 0; x < width; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
      const D3DXVECTOR3 p = ScreenPointOfImage(lens, radius, u, v);
      const float angle = ScreenAngleOf(p);
      alpha[x] = blend.WeightAt(projector, u, v, p, angle);
      if (warp) {
        const WarpSample s = WarpAt(p, angle, blend.Extent(), frustum);
        warp[3 * x] = s.u;
        warp[3 * x + 1] = s.v;
        warp[3 * x + 2] = s.error;
      }
    }
  });
  if (!warpPerPixel) {
    maps.warp = ComputeWarpGrid(lens, radius, blend.Extent(), frustum, maps.grid, threads);
  }
  return maps;
}

}  // namespace rig
