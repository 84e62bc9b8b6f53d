// Costs of the command's modes run as the host runs them (CallChannel on a
// command whose children are host channels), each beside its floor: the bare
// work the mode cannot avoid, measured in the same run.
//  - "AutoConfigParameters" with one and with nine parameters switched on;
//    floor: the same number of bare error evaluations. Counts the heap
//    allocations of one run.
//  - "CalcCameraParameters" at 1, 8, 64 and 512 projectors, read through
//    index-driven list channels (and, for comparison, plain children holding
//    one projector); floor: the projection library calls for the same
//    footprints with the inputs in plain arrays, and the same framing.
//  - "ConvertParameters"; floor: the pose model alone.
//  - One error evaluation (a pose and eight mappings), alone.
// Times are CPU time per run in nanoseconds. After the runs the program
// prints a Markdown table of every figure as a ratio to its floor and as a
// share of a 60 Hz frame (16.7 ms); --table=FILE writes it to FILE as well.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/ChildLayout.h"
#include "command/EyeFraming.h"
#include "command/ProjectorFootprint.h"
#include "pose/ProjectorPose.h"
#include "command/VistrelCommand.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "tests/support/HeapAllocationCounter.h"
#include "tests/tweaker/FitScene.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace {

constexpr int kParameters = DistortionParameterTweaker::kParameterCount;
constexpr double kFrameNs = 1e9 / 60.0;

// A command in one mode with the channels connected to it; the channels are
// destroyed after the command, which links to them.
class Rig {
 public:
  explicit Rig(const char* mode) { command.CCI_SetMode(mode); }
  template <typename Channel>
  Channel* Add(Channel* channel) {
    channels_.emplace_back(channel);
    return channel;
  }
  Oru_FloatChannel* Value(float v) {
    auto* child = Add(new Oru_FloatChannel);
    child->SetFloat(v);
    return child;
  }
  Oru_VectorChannel* Vector(D3DXVECTOR3 v) {
    auto* child = Add(new Oru_VectorChannel);
    child->SetVector(v);
    return child;
  }
  void Connect(int slot, Vel_Channel* child) {
    if (!command.ConnectChild(slot, child)) std::abort();
  }

 private:
  std::vector<std::unique_ptr<Vel_Channel>> channels_;

 public:
  VistrelCommand command;
};

// ---------------------------------------------------------------------------
// Automatic configuration: the standard calibration scene (tests/tweaker),
// ranges around the starting projector that hold the true one.

struct FitInputs {
  FitInputs() {
    fit_scene::StandardRanges(ranges);
    shifts = fit_scene::SimulatedShifts(scene, fit_scene::kStartingProjector,
                                        fit_scene::TrueProjector());
  }
  fit_scene::Scene scene;
  fit_scene::Ranges ranges;
  fit_scene::Shifts shifts;
};

// Switched on: parameter 0 alone, or all nine.
std::uint32_t MaskOf(int parameters) { return parameters == 1 ? 1u : 0x1FFu; }

// How many error evaluations one run makes.
long EvaluationsOf(const FitInputs& in, std::uint32_t mask) {
  fit_scene::Fit fit(in.scene, in.shifts, in.ranges);
  fit.TweakParameters(mask);
  return fit.evaluations;
}

using Probe = std::array<float, kParameters>;

// The parameter values of every error evaluation one run makes, in order.
struct ProbeRecorder final : DistortionParameterTweaker {
  ProbeRecorder(const FitInputs& in)
      : DistortionParameterTweaker(in.scene.cameraPosition, in.scene.cameraLookAt,
                                   in.scene.cameraFieldOfView, in.scene.cylinderRadius,
                                   in.shifts.data(), in.ranges) {}
  float ComputeError() override {
    Probe probe;
    for (int k = 0; k < kParameters; ++k) probe[static_cast<std::size_t>(k)] = Parameter(k).storage;
    probes.push_back(probe);
    return DistortionParameterTweaker::ComputeError();
  }
  std::vector<Probe> probes;
};

void BM_ErrorEvaluation(benchmark::State& state) {
  const FitInputs in;
  fit_scene::Fit fit(in.scene, in.shifts, in.ranges);
  for (auto _ : state) benchmark::DoNotOptimize(fit.ComputeError());
}
BENCHMARK(BM_ErrorEvaluation);

// The floor of a run: the run's error evaluations, bare: the same number,
// at the same parameter values, in the same order.
void BM_AutoConfigFloor(benchmark::State& state) {
  const FitInputs in;
  ProbeRecorder recorder(in);
  recorder.TweakParameters(MaskOf(static_cast<int>(state.range(0))));
  fit_scene::Fit fit(in.scene, in.shifts, in.ranges);
  for (auto _ : state) {
    for (const Probe& probe : recorder.probes) {
      for (int k = 0; k < kParameters; ++k) {
        *fit.Parameter(k).value = probe[static_cast<std::size_t>(k)];
      }
      benchmark::DoNotOptimize(fit.ComputeError());
    }
  }
  state.counters["evaluations"] = static_cast<double>(recorder.probes.size());
}
BENCHMARK(BM_AutoConfigFloor)->Arg(1)->Arg(9);

// "AutoConfigParameters" through CallChannel: 42 children, the shifts from
// an index-driven list, the nine values written back. The values are reset
// before each run so that every run starts alike.
void BM_AutoConfig(benchmark::State& state) {
  using namespace autoconfig_child;
  const FitInputs in;
  const std::uint32_t mask = MaskOf(static_cast<int>(state.range(0)));
  Rig rig("AutoConfigParameters");
  rig.Connect(kCameraPosition, rig.Vector(in.scene.cameraPosition));
  rig.Connect(kCameraLookat, rig.Vector(in.scene.cameraLookAt));
  rig.Connect(kCameraFieldOfView, rig.Vector(in.scene.cameraFieldOfView));
  Oru_FloatChannel* values[kParameters];
  for (int k = 0; k < kParameters; ++k) {
    rig.Connect(Minimum(k), rig.Value(in.ranges[k].minVal));
    rig.Connect(Maximum(k), rig.Value(in.ranges[k].maxVal));
    values[k] = rig.Value(in.ranges[k].value);
    rig.Connect(Value(k), values[k]);
    rig.Connect(Switch(k), rig.Value((mask >> k) & 1u ? 1.0f : 0.0f));
  }
  rig.Connect(kCylinderRadius, rig.Value(in.scene.cylinderRadius));
  auto* list = rig.Add(new Oru_VectorListChannel);
  std::vector<D3DXVECTOR3> elements;
  for (const D3DXVECTOR2& s : in.shifts) elements.emplace_back(s.x, s.y, 0.0f);
  list->SetElements(elements);
  rig.Connect(kDistortionPointArray, list);
  Oru_FloatChannel* index = rig.Value(0.0f);
  rig.Connect(kDistortionPointIndex, index);
  list->ConnectChild(0, index);

  long allocations = 0;
  for (auto _ : state) {
    for (int k = 0; k < kParameters; ++k) values[k]->SetFloat(in.ranges[k].value);
    const long before = HeapAllocations();
    rig.command.CallChannel();
    allocations += HeapAllocations() - before;
    benchmark::DoNotOptimize(values[0]->GetFloat());
  }
  state.counters["allocations"] = benchmark::Counter(static_cast<double>(allocations),
                                                     benchmark::Counter::kAvgIterations);
  state.counters["evaluations"] = static_cast<double>(EvaluationsOf(in, mask));
}
BENCHMARK(BM_AutoConfig)->Arg(1)->Arg(9);

// ---------------------------------------------------------------------------
// Camera mode: `count` projectors side by side over 120 degrees of a screen of
// radius 5, each 3 units from its aim point, seen from near the axis.

struct Projectors {
  explicit Projectors(int count) {
    for (int i = 0; i < count; ++i) {
      const float angle = -60.0f + 120.0f * (static_cast<float>(i) + 0.5f) /
                                       static_cast<float>(count);
      D3DXVECTOR3 p, t, cameraAim;
      GetProjectorPose(angle, 1.5f, 0.0f, 0.0f, 3.0f, 0.0f, 1.5f, kRadius, p, t, cameraAim);
      position.push_back(p);
      lookAt.push_back(t);
      fieldOfView.emplace_back(40.0f + 0.01f * static_cast<float>(i), 30.0f, 0.0f);
      keystone.push_back(0.1f);
      roll.push_back(1.0f);
    }
  }
  static constexpr float kRadius = 5.0f;
  const D3DXVECTOR3 camera{0.0f, 1.4f, 0.0f};
  std::vector<D3DXVECTOR3> position, lookAt, fieldOfView;
  std::vector<float> keystone, roll;
};

const std::vector<std::int64_t> kProjectorCounts = {1, 8, 64, 512};

void ProjectorCounters(benchmark::State& state) {
  state.counters["per_projector"] =
      benchmark::Counter(static_cast<double>(state.range(0)),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The floor: the same library calls for the same footprints, the inputs in
// plain arrays, and the same framing of the points.
void BM_CameraFloor(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const Projectors in(count);
  for (auto _ : state) {
    std::vector<D3DXVECTOR3> points;
    points.reserve(static_cast<std::size_t>(count) * eye_view::kFootprintSampleCount);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
      for (const D3DXVECTOR3& sample : eye_view::kFootprintSamples) {
        const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
            in.position[i], in.lookAt[i], sample.x, sample.y, in.fieldOfView[i].x,
            in.fieldOfView[i].y, in.keystone[i], in.roll[i]);
        points.push_back(
            Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(in.kRadius, in.position[i], ray));
      }
    }
    benchmark::DoNotOptimize(eye_view::FrameScreenPoints(in.camera, in.kRadius, points));
  }
  ProjectorCounters(state);
}
BENCHMARK(BM_CameraFloor)->ArgsProduct({kProjectorCounts});

// "CalcCameraParameters" through CallChannel, with the five per-projector
// children index-driven lists picking by "Projector Index" (as a host
// describes several projectors), or, with `lists` false, plain channels
// holding projector 0 (the same footprint each time).
void CameraMode(benchmark::State& state, bool lists) {
  using namespace camera_child;
  const int count = static_cast<int>(state.range(0));
  const Projectors in(count);
  Rig rig("CalcCameraParameters");
  Oru_FloatChannel* index = rig.Value(0.0f);
  rig.Connect(kProjectorIndex, index);
  const auto vectors = [&](int slot, const std::vector<D3DXVECTOR3>& elements) {
    if (!lists) return rig.Connect(slot, rig.Vector(elements[0]));
    auto* list = rig.Add(new Oru_VectorListChannel);
    list->SetElements(elements);
    list->ConnectChild(0, index);
    rig.Connect(slot, list);
  };
  const auto floats = [&](int slot, const std::vector<float>& elements) {
    if (!lists) return rig.Connect(slot, rig.Value(elements[0]));
    auto* list = rig.Add(new Oru_FloatListChannel);
    list->SetElements(elements);
    list->ConnectChild(0, index);
    rig.Connect(slot, list);
  };
  vectors(kProjectorPosition, in.position);
  vectors(kProjectorLookAt, in.lookAt);
  vectors(kProjectorFieldOfView, in.fieldOfView);
  floats(kProjectorKeystone, in.keystone);
  floats(kProjectorRollAngle, in.roll);
  rig.Connect(kCameraPosition, rig.Vector(in.camera));
  rig.Connect(kCylinderRadius, rig.Value(in.kRadius));
  rig.Connect(kProjectorCount, rig.Value(static_cast<float>(count)));
  Oru_VectorChannel* eyeLookAt = rig.Vector(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  rig.Connect(kEyeLookat, eyeLookAt);
  rig.Connect(kEyeFieldOfView, rig.Vector(D3DXVECTOR3(0.0f, 0.0f, 0.0f)));
  for (auto _ : state) {
    rig.command.CallChannel();
    benchmark::DoNotOptimize(eyeLookAt->GetVector());
  }
  ProjectorCounters(state);
}

void BM_CameraListChildren(benchmark::State& state) { CameraMode(state, true); }
BENCHMARK(BM_CameraListChildren)->ArgsProduct({kProjectorCounts});
void BM_CameraPlainChildren(benchmark::State& state) { CameraMode(state, false); }
BENCHMARK(BM_CameraPlainChildren)->ArgsProduct({kProjectorCounts});

// ---------------------------------------------------------------------------
// Conversion.

constexpr float kConversionInputs[convert_child::kProjectorPositionOut] = {
    12.5f, 1.5f, 7.0f, -4.0f, 3.0f, 2.0f, 1.4f, 5.0f};

void BM_ConversionFloor(benchmark::State& state) {
  const float* v = kConversionInputs;
  float inputs[8];
  std::copy(v, v + 8, inputs);
  D3DXVECTOR3 position, lookAt, cameraLookAt;
  for (auto _ : state) {
    benchmark::DoNotOptimize(inputs);
    GetProjectorPose(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5], inputs[6],
                     inputs[7], position, lookAt, cameraLookAt);
    benchmark::DoNotOptimize(position);
    benchmark::DoNotOptimize(lookAt);
    benchmark::DoNotOptimize(cameraLookAt);
  }
}
BENCHMARK(BM_ConversionFloor);

void BM_Conversion(benchmark::State& state) {
  using namespace convert_child;
  Rig rig("ConvertParameters");
  for (int i = 0; i < kProjectorPositionOut; ++i) rig.Connect(i, rig.Value(kConversionInputs[i]));
  Oru_VectorChannel* out = nullptr;
  for (int i = kProjectorPositionOut; i < kCount; ++i) {
    out = rig.Vector(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    rig.Connect(i, out);
  }
  for (auto _ : state) {
    rig.command.CallChannel();
    benchmark::DoNotOptimize(out->GetVector());
  }
}
BENCHMARK(BM_Conversion);

// ---------------------------------------------------------------------------
// The table: the lowest time of each benchmark over its repetitions (the
// least disturbed by other work on the machine), each beside its floor.

class TableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const double ns = run.GetAdjustedCPUTime() * Multiplier(run.time_unit);
      auto found = best_.find(name);
      if (found == best_.end() || ns < found->second) best_[name] = ns;
      for (const auto& counter : run.counters) counters_[name][counter.first] = counter.second;
    }
  }

  std::string Table() const {
    std::ostringstream out;
    out << "| what | time | floor | ratio to floor | share of a 16.7 ms frame |\n"
        << "|---|---:|---:|---:|---:|\n";
    Row(out, "one error evaluation (pose + 8 mappings)", "BM_ErrorEvaluation", "");
    for (const char* n : {"1", "9"}) {
      const std::string arg = std::string("/") + n;
      const double evaluations = Counter("BM_AutoConfig" + arg, "evaluations");
      Row(out,
          std::string("automatic configuration, ") + n + " parameter" + (n[0] == '1' ? "" : "s") +
              " on (" + Number(evaluations, 0) + " error evaluations, " +
              Number(Counter("BM_AutoConfig" + arg, "allocations"), 2) + " allocations per run)",
          "BM_AutoConfig" + arg, "BM_AutoConfigFloor" + arg);
    }
    for (const char* n : {"1", "8", "64", "512"}) {
      const std::string arg = std::string("/") + n;
      const double count = std::stod(n);
      Row(out, std::string("camera mode, ") + n + " projector" + (count == 1 ? "" : "s") +
                   ", index-driven lists (per projector " +
                   Number(Time("BM_CameraListChildren" + arg) / count, 0) + " ns, floor " +
                   Number(Time("BM_CameraFloor" + arg) / count, 0) + " ns)",
          "BM_CameraListChildren" + arg, "BM_CameraFloor" + arg);
    }
    for (const char* n : {"1", "512"}) {
      const std::string arg = std::string("/") + n;
      Row(out, std::string("camera mode, ") + n + " projector" + (n[1] ? "s" : "") +
                   ", plain children",
          "BM_CameraPlainChildren" + arg, "BM_CameraFloor" + arg);
    }
    Row(out, "conversion (floor: the pose model alone)", "BM_Conversion", "BM_ConversionFloor");
    return out.str();
  }

 private:
  static double Multiplier(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1.0;
    }
  }
  static std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
  }
  static std::string Duration(double ns) {
    if (ns >= 1e6) return Number(ns / 1e6, 2) + " ms";
    if (ns >= 1e4) return Number(ns / 1e3, 1) + " µs";
    if (ns >= 1e3) return Number(ns / 1e3, 2) + " µs";
    return Number(ns, 0) + " ns";
  }
  double Time(const std::string& name) const {
    const auto found = best_.find(name);
    return found == best_.end() ? NAN : found->second;
  }
  double Counter(const std::string& name, const std::string& counter) const {
    const auto found = counters_.find(name);
    if (found == counters_.end()) return NAN;
    const auto value = found->second.find(counter);
    return value == found->second.end() ? NAN : value->second.value;
  }
  void Row(std::ostringstream& out, const std::string& what, const std::string& name,
           const std::string& floor) const {
    const double time = Time(name);
    if (std::isnan(time)) return;  // filtered out of this run
    out << "| " << what << " | " << Duration(time) << " | ";
    if (floor.empty()) {
      out << "– | – | ";
    } else {
      out << Duration(Time(floor)) << " | " << Number(time / Time(floor), 3) << " | ";
    }
    out << Number(100.0 * time / kFrameNs, 3) << " % |\n";
  }

  std::map<std::string, double> best_;
  std::map<std::string, benchmark::UserCounters> counters_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string tablePath;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--table=", 8) == 0) {
      tablePath = argv[i] + 8;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string table = reporter.Table();
  std::cout << "\n" << table;
  if (!tablePath.empty()) {
    std::ofstream file(tablePath);
    file << table;
    if (!file) {
      std::cerr << "cannot write " << tablePath << "\n";
      return 1;
    }
  }
  benchmark::Shutdown();
  return 0;
}
