// Reading a scene file of 1,000, 10,000 and 100,000 projectors, beside its
// floor: nlohmann-json parsing the same text into a document, which any
// reader of it must do. The reader adds the positions of every value (for
// its messages), the checks of every key and value, and the scene itself;
// the ratio to the floor stays flat when the reading is linear in the file.
// Counters: "per_projector" is the time per projector.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <map>
#include <string>

#include "rig/scene/SceneReader.h"

namespace {

// A valid scene: projectors side by side around the whole screen, each with
// every key a projector may have.
const std::string& SceneText(int projectors) {
  static std::map<int, std::string> cache;
  std::string& text = cache[projectors];
  if (!text.empty()) return text;
  nlohmann::json scene = {
      {"screen", {{"radius", 5.0}}},
      {"camera",
       {{"position", {0.0, 1.2, 0.0}}, {"aim", {{"angle", 0.0}, {"height", 1.2}}}, {"field_of_view", {90.0, 60.0}}}},
      {"projectors", nlohmann::json::array()}};
  for (int i = 0; i < projectors; ++i) {
    scene["projectors"].push_back({{"name", "projector " + std::to_string(i)},
                                   {"aim", {{"angle", -180.0 + 360.0 * i / projectors}, {"height", 1.2}}},
                                   {"projection_angles", {0.0, 8.0}},
                                   {"distance", 2.5},
                                   {"field_of_view", {50.0, 30.0}},
                                   {"keystone", 0.1},
                                   {"roll", 0.5},
                                   {"resolution", {1920, 1080}}});
  }
  text = scene.dump(2);
  return text;
}

void SetCounters(benchmark::State& state) {
  state.counters["per_projector"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(SceneText(static_cast<int>(state.range(0))).size()));
}

void BM_SceneReadFloor(benchmark::State& state) {
  const std::string& text = SceneText(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  SetCounters(state);
}

void BM_SceneRead(benchmark::State& state) {
  const std::string& text = SceneText(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(rig::ReadSceneText(text, "scene.json"));
  SetCounters(state);
}

BENCHMARK(BM_SceneReadFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
