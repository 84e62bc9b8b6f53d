// Costs of the projector fit: one error evaluation (one pose computation and
// eight image mappings), one automatic configuration run with all nine
// parameters searched over ranges 100 wide, both directly and through the
// command's children, and the pose model alone. Each run reports how many
// error evaluations it made.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "command/ChildLayout.h"
#include "command/ProjectorPose.h"
#include "command/VistrelCommand.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "tests/tweaker/FitScene.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace {

constexpr int kParameters = DistortionParameterTweaker::kParameterCount;
constexpr std::uint32_t kAllNine = 0x1FF;

// Ranges 100 wide around the standard starting projector, kept where the
// lens stays usable: fields of view from 10 and 5 degrees up, distance
// from 0.5 up.
void WideRanges(fit_scene::Ranges& ranges) {
  const ProjectorParameters start = fit_scene::kStartingProjector;
  for (int k = 0; k < kParameters; ++k) {
    const float value = fit_scene::Get(start, k);
    ranges[k] = {value - 50.0f, value + 50.0f, value};
  }
  ranges[4] = {0.5f, 100.5f, start.ProjDist};
  ranges[5] = {10.0f, 110.0f, start.ProjFovX};
  ranges[6] = {5.0f, 105.0f, start.ProjFovY};
}

struct Inputs {
  Inputs() {
    fit_scene::StandardRanges(standardRanges);
    WideRanges(wideRanges);
    shifts = fit_scene::SimulatedShifts(scene, fit_scene::kStartingProjector,
                                        fit_scene::TrueProjector());
  }
  fit_scene::Fit Build(const fit_scene::Ranges& ranges) const {
    return fit_scene::Fit(scene, shifts, ranges);
  }
  fit_scene::Scene scene;
  fit_scene::Ranges standardRanges;
  fit_scene::Ranges wideRanges;
  fit_scene::Shifts shifts;
};

void BM_ErrorEvaluation(benchmark::State& state) {
  const Inputs inputs;
  fit_scene::Fit fit = inputs.Build(inputs.standardRanges);
  for (auto _ : state) benchmark::DoNotOptimize(fit.ComputeError());
}
BENCHMARK(BM_ErrorEvaluation);

// Construction (the eight targets) and the search of all nine parameters.
void BM_FitAllNineParameters(benchmark::State& state) {
  const Inputs inputs;
  long evaluations = 0;
  for (auto _ : state) {
    fit_scene::Fit fit = inputs.Build(inputs.wideRanges);
    fit.TweakParameters(kAllNine);
    evaluations = fit.evaluations;
    benchmark::DoNotOptimize(fit.Parameter(0).storage);
  }
  state.counters["evaluations"] = static_cast<double>(evaluations);
}
BENCHMARK(BM_FitAllNineParameters);

// The same run as the host makes it: "AutoConfigParameters" reading its 42
// children, the shifts from an index-driven list, and writing back. The
// parameter values are reset before each run, so every run starts alike.
void BM_AutoConfigurationThroughTheCommand(benchmark::State& state) {
  using namespace autoconfig_child;
  const Inputs inputs;
  // Declared before the command, so that the command, which links to them,
  // goes first.
  std::vector<std::unique_ptr<Vel_Channel>> children;
  std::array<Oru_FloatChannel*, kParameters> values{};
  VistrelCommand command;
  command.CCI_SetMode("AutoConfigParameters");
  const auto connectValue = [&](int slot, float v) {
    auto* child = new Oru_FloatChannel;
    children.emplace_back(child);
    child->SetFloat(v);
    command.ConnectChild(slot, child);
    return child;
  };
  const auto connectVector = [&](int slot, D3DXVECTOR3 v) {
    auto* child = new Oru_VectorChannel;
    children.emplace_back(child);
    child->SetVector(v);
    command.ConnectChild(slot, child);
  };
  connectVector(kCameraPosition, inputs.scene.cameraPosition);
  connectVector(kCameraLookat, inputs.scene.cameraLookAt);
  connectVector(kCameraFieldOfView, inputs.scene.cameraFieldOfView);
  for (int k = 0; k < kParameters; ++k) {
    connectValue(Minimum(k), inputs.wideRanges[k].minVal);
    connectValue(Maximum(k), inputs.wideRanges[k].maxVal);
    values[static_cast<std::size_t>(k)] = connectValue(Value(k), inputs.wideRanges[k].value);
    connectValue(Switch(k), 1.0f);
  }
  connectValue(kCylinderRadius, inputs.scene.cylinderRadius);
  auto* list = new Oru_VectorListChannel;
  children.emplace_back(list);
  std::vector<D3DXVECTOR3> elements;
  for (const D3DXVECTOR2& s : inputs.shifts) elements.emplace_back(s.x, s.y, 0.0f);
  list->SetElements(elements);
  command.ConnectChild(kDistortionPointArray, list);
  list->ConnectChild(0, connectValue(kDistortionPointIndex, 0.0f));

  for (auto _ : state) {
    for (int k = 0; k < kParameters; ++k) {
      values[static_cast<std::size_t>(k)]->SetFloat(inputs.wideRanges[k].value);
    }
    command.CallChannel();
    benchmark::DoNotOptimize(values[0]->GetFloat());
  }
}
BENCHMARK(BM_AutoConfigurationThroughTheCommand);

void BM_GetProjectorPose(benchmark::State& state) {
  float angle = 12.5f, height = 1.5f, angleX = 7.0f, angleY = -4.0f, distance = 3.0f;
  float cameraAngle = 2.0f, cameraHeight = 1.4f, radius = 5.0f;
  D3DXVECTOR3 position, lookAt, cameraLookAt;
  for (auto _ : state) {
    benchmark::DoNotOptimize(angle);
    GetProjectorPose(angle, height, angleX, angleY, distance, cameraAngle, cameraHeight, radius,
                     position, lookAt, cameraLookAt);
    benchmark::DoNotOptimize(position);
    benchmark::DoNotOptimize(lookAt);
    benchmark::DoNotOptimize(cameraLookAt);
  }
}
BENCHMARK(BM_GetProjectorPose);

}  // namespace
