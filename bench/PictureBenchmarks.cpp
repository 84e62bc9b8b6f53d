// The pictures of a rig beside their floor, at 8, 64 and 512 projectors
// round a radius-5 screen (tests/rig/SyntheticRig.h): the unrolled view
// (layout, label placement, every layer) and the plan view. Floor: writing
// every footprint's outline as SVG points once, the text no picture of the
// footprints can avoid. A flat ratio from 8 to 512 shows no step grows
// faster than the projector count.
#include <benchmark/benchmark.h>

#include "rig/pictures/RigPicture.h"
#include "rig/pictures/SvgText.h"
#include "tests/rig/SyntheticRig.h"

namespace {

void BM_PictureFloor(benchmark::State& state) {
  const rig::RigReport r = rig_test::Ring(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string svg;
    for (const rig::ProjectorReport& p : r.projectors) {
      std::vector<double> xs, ys;
      for (const rig::UnrolledPoint& u : p.unrolled) xs.push_back(u.angle), ys.push_back(u.height);
      svg += rig::SvgPoints(xs, ys);
    }
    benchmark::DoNotOptimize(svg);
  }
  state.counters["per_projector"] = benchmark::Counter(state.range(0), benchmark::Counter::kIsIterationInvariantRate |
                                                                          benchmark::Counter::kInvert);
}

void BM_UnrolledPicture(benchmark::State& state) {
  const rig::RigReport r = rig_test::Ring(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rig::RigPictureSvg(r));
  state.counters["per_projector"] = benchmark::Counter(state.range(0), benchmark::Counter::kIsIterationInvariantRate |
                                                                          benchmark::Counter::kInvert);
}

void BM_PlanPicture(benchmark::State& state) {
  const rig::RigReport r = rig_test::Ring(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rig::RigPlanSvg(r));
  state.counters["per_projector"] = benchmark::Counter(state.range(0), benchmark::Counter::kIsIterationInvariantRate |
                                                                          benchmark::Counter::kInvert);
}

BENCHMARK(BM_PictureFloor)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnrolledPicture)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanPicture)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
