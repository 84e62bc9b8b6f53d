// Costs of the export's per-pixel work beside its floor.
//  - "ExportMaps/N": the warp at every pixel and the alpha map of all N
//    projectors of a rig (ComputeProjectorMaps), one thread, 480 x 300
//    pixels per projector; N = 2, 8, 64 (time per projector should not grow
//    with N: the candidates come from the angle index, not from all).
//  - "Floor/N": the projection library calls the same pixels need and no
//    more: per pixel a ray and its intersection, and per candidate projector
//    (the same candidates, from the same index) the inverse mapping.
//  - "FullSize8": 8 projectors at 1920 x 1200, warp and alpha at every
//    pixel, on every hardware thread: wall-clock time, and the CPU time of
//    all threads.
// Times are per run; divide by the pixel count for a pixel's cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "host/vistrel/Oru_Vistrel.h"
#include "rig/export/BlendWeights.h"
#include "rig/export/ProjectorMaps.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;
constexpr float kRadius = 4.0f, kDistance = 3.0f;

// N projectors side by side, 40 degrees apart or spread round the whole
// screen when that is less, each footprint about 1.25 spacings wide.
std::vector<rig::ProjectorLens> Ring(int n) {
  const double spacing = std::min(40.0, 360.0 / n);
  const float fovX = static_cast<float>(2.0 * std::atan(1.25 * spacing * kRad * kRadius / (2.0 * kDistance)) / kRad);
  std::vector<rig::ProjectorLens> lenses;
  for (int i = 0; i < n; ++i) {
    const ProjectorParameters p{static_cast<float>(-180.0 + spacing * (i + 0.5)), 1.3f, 0.0f, 0.0f, kDistance,
                                fovX, fovX * 0.625f, 0.0f, 0.0f};
    lenses.push_back(rig::LensOf(p, kRadius));
  }
  return lenses;
}

struct Setup {
  rig::BlendWeights blend;
  std::vector<rig::Frustum> frusta;
  explicit Setup(int n) : blend(Ring(n), kRadius, rig::ScreenExtent{}, 0.0f) {
    for (int k = 0; k < n; ++k) {
      const rig::ProjectorLens& lens = blend.Lens(k);
      frusta.push_back(rig::FrustumAround(D3DXVECTOR3(0, 1.3f, 0), lens.lookAt,
                                          rig::TraceImageBorder(lens, kRadius, 64)));
    }
  }
};

void ExportMaps(benchmark::State& state, int n, int width, int height, int threads) {
  const Setup setup(n);
  for (auto _ : state) {
    for (int k = 0; k < n; ++k) {
      rig::ProjectorMaps maps = rig::ComputeProjectorMaps(
          setup.blend, k, {width, height}, rig::FrustumMapping(D3DXVECTOR3(0, 1.3f, 0), setup.frusta[k]), 1,
          threads);
      benchmark::DoNotOptimize(maps.alpha.data());
    }
  }
  state.counters["ns_per_pixel"] = benchmark::Counter(
      double(n) * width * height, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Floor(benchmark::State& state, int n, int width, int height) {
  const Setup setup(n);
  const rig::BlendWeights& b = setup.blend;
  for (auto _ : state) {
    for (int k = 0; k < n; ++k) {
      const rig::ProjectorLens& lens = b.Lens(k);
      for (int y = 0; y < height; ++y) {
        const float v = (y + 0.5f) / height;
        for (int x = 0; x < width; ++x) {
          const float u = (x + 0.5f) / width;
          const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(lens.position, lens.lookAt, u, v,
                                                                           lens.fovX, lens.fovY, lens.keystone,
                                                                           lens.roll);
          const D3DXVECTOR3 p = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(kRadius, lens.position, ray);
          benchmark::DoNotOptimize(p);
          for (int j : b.Index().Candidates(rig::ScreenAngleOf(p))) {
            if (j == k) continue;
            const rig::ProjectorLens& o = b.Lens(j);
            D3DXVECTOR2 uv = Oru_Vistrel::CamUV2ProjUV(D3DXVECTOR2(0.5f, 0.5f), o.position, o.lookAt,
                                                       lens.position, p, D3DXVECTOR3(o.fovX, o.fovY, 0),
                                                       D3DXVECTOR3(90, 90, 0), kRadius, o.keystone, o.roll);
            benchmark::DoNotOptimize(uv);
          }
        }
      }
    }
  }
  state.counters["ns_per_pixel"] = benchmark::Counter(
      double(n) * width * height, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ExportMaps(benchmark::State& state) { ExportMaps(state, int(state.range(0)), 480, 300, 1); }
void BM_Floor(benchmark::State& state) { Floor(state, int(state.range(0)), 480, 300); }
void BM_FullSize8(benchmark::State& state) { ExportMaps(state, 8, 1920, 1200, 0); }

BENCHMARK(BM_ExportMaps)->Arg(2)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Arg(2)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullSize8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
