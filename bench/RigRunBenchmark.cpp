// A whole run of a 360-degree ring of 8, 64 and 512 projectors (each on the
// inward normal of its aim point, neighbours overlapping by a fifth of a
// footprint, resolutions and a screen extent given, as
// scripts/make-ring-scene.py writes them) beside its floor: the module's
// own evaluation through the engine's path (the channels built, each
// conversion and the eye's mode evaluated), which no run can avoid. The
// whole run adds the program's analyses (outlines, coverage, pixel density,
// frusta), the report as text and JSON, and both pictures. Per projector,
// a flat time from 8 to 512 shows no step grows faster than the rig.
#include <benchmark/benchmark.h>

#include <cmath>
#include <sstream>
#include <string>

#include "rig/engine/ModuleSession.h"
#include "rig/engine/RigEvaluation.h"
#include "rig/engine/RigGraph.h"
#include "rig/pictures/RigPicture.h"
#include "rig/reports/RigReport.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

rig::Scene Ring(int count) {
  rig::Scene s;
  s.radius = 5.0f;
  const double step = 360.0 / count, distance = 3.0;
  const double width = step * 1.25 * kPi / 180.0;
  const double half = std::atan2(5.0 * std::sin(width / 2), 5.0 * std::cos(width / 2) - (5.0 - distance));
  s.extent.angles = std::array<float, 2>{0.0f, 0.0f};
  s.extent.heights = std::array<float, 2>{1.0f, 2.0f};
  s.camera.position = {0.0f, 1.5f, 0.0f};
  s.camera.aimAngle = 0.0f;
  s.camera.aimHeight = 1.5f;
  s.camera.fovX = 100.0f;
  s.camera.fovY = 60.0f;
  for (int k = 0; k < count; ++k) {
    rig::Projector p;
    p.name = "p" + std::to_string(k + 1);
    p.resolution = std::array<int, 2>{1920, 1200};
    double angle = std::fmod(k * step + 180.0, 360.0) - 180.0;
    p.parameters.ProjLookatAngX = static_cast<float>(angle);
    p.parameters.ProjLookatHeight = 1.5f;
    p.parameters.ProjDist = static_cast<float>(distance);
    p.parameters.ProjFovX = static_cast<float>(2 * half * 180.0 / kPi);
    p.parameters.ProjFovY = static_cast<float>(2 * std::atan(0.75 / distance) * 180.0 / kPi);
    s.projectors.push_back(p);
  }
  return s;
}

void PerProjector(benchmark::State& state) {
  state.counters["per_projector"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RunFloor(benchmark::State& state) {
  const rig::Scene scene = Ring(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rig::ModuleSession session(VISTREL_MODULE_PATH);
    rig::RigGraph graph = rig::BuildRigGraph(session, scene);
    rig::EvaluateRig(graph, true);
    benchmark::DoNotOptimize(graph.eyeLookAt->GetVector());
  }
  PerProjector(state);
}

void BM_WholeRun(benchmark::State& state) {
  const rig::Scene scene = Ring(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rig::ModuleSession session(VISTREL_MODULE_PATH);
    const rig::RigReport report = rig::EvaluateScene(session, scene, false, nullptr);
    std::ostringstream text;
    rig::PrintRigReport(text, report);
    const std::string json = rig::RigReportJson(report).dump(2);
    const std::string unrolled = rig::RigPictureSvg(report), plan = rig::RigPlanSvg(report);
    benchmark::DoNotOptimize(text.str().size() + json.size() + unrolled.size() + plan.size());
  }
  PerProjector(state);
}

BENCHMARK(BM_RunFloor)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
