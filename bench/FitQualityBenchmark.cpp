// Fit quality of the projector calibration on 200 random simulated rigs (a
// fixed seed): the module's search as the automatic configuration runs it,
// the bounded refinement after it, and the refinement alone from the range
// centres. Prints markdown tables: final error, each parameter's error
// against the truth as a share of its range's width, and time per fit.
// Scene frame of the pose model; angles in degrees.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "rig/calibration/CalibrationCertainty.h"
#include "rig/analyses/Degrees.h"
#include "rig/calibration/CalibrationProblem.h"
#include "rig/calibration/CalibrationRefinement.h"
#include "rig/calibration/PointOutliers.h"
#include "tests/tweaker/FitScene.h"

#ifndef VISTREL_BUILD_TYPE
#define VISTREL_BUILD_TYPE "unknown"
#endif

using namespace rig;

namespace {

constexpr int kParameters = CalibrationProblem::kParameterCount;
constexpr int kRigs = 200;
constexpr std::uint32_t kSeed = 20261206u;
constexpr std::uint32_t kFourOn = fit_scene::kMisplaced;
constexpr std::uint32_t kNineOn = 0x1FF;
// Each range's half-width, centred on the assumed projector: aim angle,
// aim height, the two projection angles, distance, the two fields of view,
// keystone, roll.
constexpr float kHalfWidth[kParameters] = {10.0f, 0.5f, 10.0f, 10.0f, 1.0f,
                                           10.0f, 10.0f, 0.2f, 5.0f};
const char* const kNames[kParameters] = {
    "ProjLookatAngX", "ProjLookatHeight", "ProjectionAngX",
    "ProjectionAngY", "ProjDist",         "ProjFovX",
    "ProjFovY",       "ProjKeystone",     "ProjRoll"};

// Uniform in [lo, hi] from 24 bits of the generator: the same numbers with
// every standard library.
struct Random {
  std::mt19937 engine{kSeed};
  float Uniform(float lo, float hi) {
    const double unit = static_cast<double>(engine() >> 8) / 16777215.0;
    return static_cast<float>(lo + (hi - lo) * unit);
  }
};

struct Rig {
  CalibrationProblem problem;
  float truth[kParameters];
  fit_scene::Scene scene;
  ProjectorParameters assumed, trueProjector;
};

// A camera near the axis aiming at the assumed projector's aim point; the
// assumed projector somewhere in front; the truth drawn inside the ranges
// for the searched parameters and equal to the assumption for the others.
Rig RandomRig(Random& random, std::uint32_t mask) {
  fit_scene::Scene scene;
  scene.cameraPosition = D3DXVECTOR3(random.Uniform(-0.5f, 0.5f),
                                     random.Uniform(1.2f, 1.8f),
                                     random.Uniform(-0.5f, 0.5f));
  scene.cameraFieldOfView =
      D3DXVECTOR3(random.Uniform(80.0f, 100.0f), random.Uniform(60.0f, 75.0f), 0.0f);
  const ProjectorParameters assumed{
      random.Uniform(-40.0f, 40.0f), random.Uniform(1.2f, 1.8f),
      random.Uniform(-10.0f, 10.0f), random.Uniform(-10.0f, 10.0f),
      random.Uniform(2.5f, 3.5f),    random.Uniform(50.0f, 70.0f),
      random.Uniform(35.0f, 45.0f),  random.Uniform(-0.1f, 0.1f),
      random.Uniform(-2.0f, 2.0f)};
  const float aim = static_cast<float>(RadiansOf(assumed.ProjLookatAngX));
  scene.cameraLookAt = D3DXVECTOR3(scene.cylinderRadius * std::sin(aim),
                                   assumed.ProjLookatHeight,
                                   scene.cylinderRadius * std::cos(aim));
  Rig rig;
  ProjectorParameters truth = assumed;
  for (int k = 0; k < kParameters; ++k) {
    const float start = fit_scene::Get(assumed, k);
    rig.problem.ranges[k] = {start - kHalfWidth[k], start + kHalfWidth[k], start};
    const float drawn = random.Uniform(start - kHalfWidth[k], start + kHalfWidth[k]);
    ParameterOf(truth, k) = HasParameter(mask, k) ? drawn : start;
    rig.truth[k] = fit_scene::Get(truth, k);
  }
  const fit_scene::Shifts shifts = fit_scene::SimulatedShifts(scene, assumed, truth);
  rig.scene = scene;
  rig.assumed = assumed;
  rig.trueProjector = truth;
  rig.problem.cameraPosition = scene.cameraPosition;
  rig.problem.cameraLookAt = scene.cameraLookAt;
  rig.problem.cameraFieldOfView = scene.cameraFieldOfView;
  rig.problem.cylinderRadius = scene.cylinderRadius;
  for (int i = 0; i < CalibrationProblem::kPointCount; ++i)
    rig.problem.pointShifts[i] = shifts[static_cast<std::size_t>(i)];
  rig.problem.searchMask = mask;
  return rig;
}

enum Method { kMode, kModeThenRefine, kRefineFromCentres, kMethods };
const char* const kMethodNames[kMethods] = {
    "module's mode", "mode + refinement", "refinement from range centres"};

struct Outcome {
  float error;
  float values[kParameters];
};

Outcome RunMode(const CalibrationProblem& problem) {
  DistortionParameterTweaker tweaker = TweakerFor(problem);
  tweaker.TweakParameters(problem.searchMask);
  Outcome out;
  for (int k = 0; k < kParameters; ++k) out.values[k] = *tweaker.Parameter(k).value;
  out.error = tweaker.ComputeError();
  return out;
}

Outcome Run(Method method, const CalibrationProblem& problem) {
  if (method == kMode) return RunMode(problem);
  float seed[kParameters];
  if (method == kModeThenRefine) {
    const Outcome mode = RunMode(problem);
    std::copy(mode.values, mode.values + kParameters, seed);
  } else {
    for (int k = 0; k < kParameters; ++k)
      seed[k] = problem.ranges[k].minVal +
                0.5f * (problem.ranges[k].maxVal - problem.ranges[k].minVal);
  }
  const CalibrationRefinement refined = RefineCalibration(problem, seed);
  Outcome out;
  std::copy(refined.values, refined.values + kParameters, out.values);
  out.error = refined.error;
  return out;
}

// NaN sorts last (worst).
double Quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end(), [](double a, double b) {
    return std::isnan(b) ? !std::isnan(a) : a < b;
  });
  const std::size_t i = static_cast<std::size_t>(std::ceil(q * v.size())) - 1;
  return v[std::min(i, v.size() - 1)];
}

void Report(const char* title, std::uint32_t mask) {
  Random random;
  std::vector<Rig> rigs;
  for (int r = 0; r < kRigs; ++r) rigs.push_back(RandomRig(random, mask));

  std::vector<double> errors[kMethods], micros[kMethods];
  std::vector<double> paramShare[kMethods][kParameters];
  int floorCount[kMethods] = {}, within[kMethods] = {};
  // What the points can tell at the refined solution (after the mode), with
  // the default noise assumption: each deviation as a share of its range,
  // and on how many rigs each pair was inseparable.
  std::vector<double> deviationShare[kParameters];
  int inseparable[kParameters][kParameters] = {};
  for (int m = 0; m < kMethods; ++m) {
    for (const Rig& rig : rigs) {
      // Fastest of three runs: the machine is shared.
      double best = 1e300;
      Outcome outcome{};
      for (int repeat = 0; repeat < 3; ++repeat) {
        const auto start = std::chrono::steady_clock::now();
        outcome = Run(static_cast<Method>(m), rig.problem);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::micro>(stop - start).count());
      }
      micros[m].push_back(best);
      if (m == kModeThenRefine) {
        const CalibrationCertainty certainty = AnalyseCertainty(rig.problem, outcome.values);
        for (const ParameterCertainty& p : certainty.parameters)
          deviationShare[p.parameter].push_back(p.shareOfRange);
        for (const InseparablePair& p : certainty.inseparable) ++inseparable[p.first][p.second];
      }
      errors[m].push_back(outcome.error);
      if (outcome.error < 1e-10f) ++floorCount[m];
      bool all = true;
      for (int k = 0; k < kParameters; ++k) {
        if (!((mask >> k) & 1u)) continue;
        const double share = std::fabs(static_cast<double>(outcome.values[k]) - rig.truth[k]) /
                             (2.0 * kHalfWidth[k]);
        paramShare[m][k].push_back(share);
        all = all && share <= 1e-3;
      }
      if (all) ++within[m];
    }
  }

  std::printf("### %s\n\n", title);
  std::printf("| | median error | p90 error | worst error | error < 1e-10 | all parameters within 0.1 %% of range | median time per fit | p90 time |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (int m = 0; m < kMethods; ++m) {
    std::printf("| %s | %.2g | %.2g | %.2g | %d / %d | %d / %d | %.0f µs | %.0f µs |\n",
                kMethodNames[m], Quantile(errors[m], 0.5), Quantile(errors[m], 0.9),
                Quantile(errors[m], 1.0), floorCount[m], kRigs, within[m], kRigs,
                Quantile(micros[m], 0.5), Quantile(micros[m], 0.9));
  }
  std::printf("\nEach searched parameter's distance from the truth, as a share of its range's width: median / worst; and its standard deviation at the refined solution for a point noise of %g camera image units, as a share of its range's width: median.\n\n", kDefaultPointNoise);
  std::printf("| parameter (range width) |");
  for (int m = 0; m < kMethods; ++m) std::printf(" %s |", kMethodNames[m]);
  std::printf(" standard deviation |\n|---|---|---|---|---|\n");
  for (int k = 0; k < kParameters; ++k) {
    if (!((mask >> k) & 1u)) continue;
    std::printf("| %s (%g) |", kNames[k], 2.0 * kHalfWidth[k]);
    for (int m = 0; m < kMethods; ++m)
      std::printf(" %.2g %% / %.2g %% |", 100.0 * Quantile(paramShare[m][k], 0.5),
                  100.0 * Quantile(paramShare[m][k], 1.0));
    std::printf(" %.2g %% |\n", 100.0 * Quantile(deviationShare[k], 0.5));
  }
  std::printf("\nPairs the eight points could not separate (|correlation| > %g), on how many rigs:", kInseparableCorrelation);
  bool any = false;
  for (int a = 0; a < kParameters; ++a) {
    for (int b = a + 1; b < kParameters; ++b) {
      if (inseparable[a][b] == 0) continue;
      std::printf("%s %s-%s %d", any ? "," : "", kNames[a], kNames[b], inseparable[a][b]);
      any = true;
    }
  }
  std::printf("%s.\n\n", any ? "" : " none");
}

// --- bad points: the leave-one-out test on noisy markers ---

constexpr int kOutlierRigs = 300;
constexpr float kImageWidth = 1920.0f, kImageHeight = 1080.0f;  // camera pixels

// A standard normal deviate (Box-Muller on 24-bit uniforms in (0, 1]).
double Normal(Random& random) {
  const double u1 = (static_cast<double>(random.engine() >> 8) + 1.0) / 16777216.0;
  const double u2 = static_cast<double>(random.engine() >> 8) / 16777216.0;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

// The rig's markers with one pixel of noise per coordinate, point `bad`
// (if >= 0) displaced by `pixels` in a random direction, turned into
// shifts through the assumed projector's inverse mapping.
CalibrationProblem NoisyProblem(const Rig& rig, Random& random, int bad, float pixels) {
  CalibrationProblem problem = rig.problem;
  const float angle = random.Uniform(0.0f, 6.2831853f);
  for (int i = 0; i < CalibrationProblem::kPointCount; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    D3DXVECTOR2 seen = fit_scene::Map(rig.scene, rig.trueProjector, grid, true);
    double dx = Normal(random), dy = Normal(random);
    if (i == bad) {
      dx += pixels * std::cos(angle);
      dy += pixels * std::sin(angle);
    }
    seen.x = static_cast<float>(seen.x + dx / kImageWidth);
    seen.y = static_cast<float>(seen.y + dy / kImageHeight);
    const D3DXVECTOR2 lit = fit_scene::Map(rig.scene, rig.assumed, seen, false);
    problem.pointShifts[i] = D3DXVECTOR2(lit.x - grid.x, lit.y - grid.y);
  }
  return problem;
}

void ReportOutliers(const char* title, std::uint32_t mask) {
  Random random;
  std::vector<Rig> rigs;
  for (int r = 0; r < kOutlierRigs; ++r) rigs.push_back(RandomRig(random, mask));
  const float displacements[] = {0.0f, 5.0f, 10.0f, 20.0f};
  std::printf("### %s\n\n", title);
  std::printf("| displaced point | rigs flagged | displaced point named first | a clean point named | untested | median time per test |\n|---|---|---|---|---|---|\n");
  for (float pixels : displacements) {
    int flagged = 0, found = 0, wrong = 0, untested = 0;
    std::vector<double> micros;
    for (const Rig& rig : rigs) {
      const int bad = pixels > 0.0f ? static_cast<int>(random.engine() % 8u) : -1;
      const CalibrationProblem problem = NoisyProblem(rig, random, bad, pixels);
      const Outcome mode = RunMode(problem);
      const CalibrationRefinement refined = RefineCalibration(problem, mode.values);
      const auto start = std::chrono::steady_clock::now();
      const rig::OutlierAnalysis a =
          rig::FindOutliers(problem, refined.values, 1.0f / kImageWidth, 1.0f / kImageHeight);
      const auto stop = std::chrono::steady_clock::now();
      micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
      if (!a.tested) ++untested;
      if (!a.outliers.empty()) ++flagged;
      if (!a.outliers.empty() && a.outliers.front() == bad) ++found;
      for (int i : a.outliers) {
        if (i != bad) {
          ++wrong;
          break;
        }
      }
    }
    std::printf("| %s | %d / %d | %s | %d / %d | %d | %.0f µs |\n",
                pixels > 0.0f ? (std::to_string(static_cast<int>(pixels)) + " px").c_str() : "none (clean)",
                flagged, kOutlierRigs,
                pixels > 0.0f ? (std::to_string(found) + " / " + std::to_string(kOutlierRigs)).c_str() : "-",
                wrong, kOutlierRigs, untested, Quantile(micros, 0.5));
  }
  std::printf("\n");
}

}  // namespace

int main() {
  std::printf("%d random rigs (seed %u), build type %s.\n\n", kRigs, kSeed, VISTREL_BUILD_TYPE);
  Report("Four parameters on (ProjLookatAngX, ProjLookatHeight, ProjFovX, ProjRoll)", kFourOn);
  Report("All nine parameters on", kNineOn);
  std::printf("## Bad points: one pixel of noise per coordinate on a %g x %g camera image, %d rigs\n\n",
              kImageWidth, kImageHeight, kOutlierRigs);
  ReportOutliers("Four parameters on", kFourOn);
  ReportOutliers("All nine parameters on", kNineOn);
  return 0;
}
