// The refinement and the certainty analysis on simulated rigs: truth
// recovered, bounds held and flagged, inseparable parameters named, the same
// result bit for bit on a second run; and the per-point residuals they
// report against the module's own error. Scene frame of the pose model.
#include <gtest/gtest.h>

#include <bitset>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "rig/calibration/CalibrationCertainty.h"
#include "rig/calibration/CalibrationRefinement.h"
#include "rig/calibration/PointResiduals.h"
#include "tests/rig_calibration/FitProblem.h"

using namespace rig;

namespace {

constexpr int kParameters = CalibrationProblem::kParameterCount;
constexpr std::uint32_t kAllNine = 0x1FF;

// Off the starting projector in all nine parameters, inside the ranges.
constexpr fit_scene::Projector kNineOff{2.0f, 1.6f, 4.0f, -3.0f, 3.3f, 63.0f, 38.0f, 0.08f, 1.5f};

// The standard ranges, the shifts measured of `truth` against the start.
CalibrationProblem Simulated(const fit_scene::Projector& truth, std::uint32_t mask) {
  return fit_scene::ProblemWith(
      fit_scene::SimulatedShifts(fit_scene::Scene(), fit_scene::kStartingProjector, truth), mask);
}

void Starts(const CalibrationProblem& problem, float (&values)[kParameters]) {
  for (int k = 0; k < kParameters; ++k) values[k] = problem.ranges[k].value;
}

void ModeResult(const CalibrationProblem& problem, float (&values)[kParameters]) {
  DistortionParameterTweaker tweaker = TweakerFor(problem);
  tweaker.TweakParameters(problem.searchMask);
  for (int k = 0; k < kParameters; ++k) values[k] = *tweaker.Parameter(k).value;
}

TEST(PointResiduals, AddUpToTheModulesErrorAndVanishAtTheStartWithoutShifts) {
  CalibrationProblem problem = Simulated(fit_scene::TrueProjector(), fit_scene::kMisplaced);
  float values[kParameters];
  Starts(problem, values);
  const PointResiduals shifted = ComputePointResiduals(problem, values);
  double sum = 0.0, largest = 0.0;
  for (const D3DXVECTOR2& r : shifted.residual) {
    sum += double{r.x} * r.x + double{r.y} * r.y;
    largest = std::max(largest, std::hypot(double{r.x}, double{r.y}));
  }
  fit_scene::Shifts shifts;
  for (int i = 0; i < CalibrationProblem::kPointCount; ++i) shifts[i] = problem.pointShifts[i];
  EXPECT_EQ(shifted.error, fit_scene::Fit(fit_scene::Scene(), shifts, problem.ranges).ComputeError());
  EXPECT_NEAR(shifted.error, sum, 1e-6 * sum);
  EXPECT_NEAR(shifted.rms, std::sqrt(sum / 8.0), 1e-6);
  EXPECT_NEAR(shifted.max, largest, 1e-6);
  EXPECT_GT(shifted.max, shifted.rms);

  for (D3DXVECTOR2& shift : problem.pointShifts) shift = D3DXVECTOR2(0.0f, 0.0f);
  const PointResiduals none = ComputePointResiduals(problem, values);
  EXPECT_EQ(none.error, 0.0f);
  EXPECT_EQ(none.max, 0.0f);
}

struct RecoveryCase {
  const char* name;
  fit_scene::Projector truth;
  std::uint32_t mask;
  bool seedFromMode;
};

TEST(CalibrationRefinement, RecoversTheSimulatedTruthToTheRoundingFloor) {
  const RecoveryCase cases[] = {
      {"four on, from the mode", fit_scene::TrueProjector(), fit_scene::kMisplaced, true},
      {"nine on, from the mode", kNineOff, kAllNine, true},
      {"nine on, from the starting values", kNineOff, kAllNine, false},
  };
  for (const RecoveryCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CalibrationProblem problem = Simulated(c.truth, c.mask);
    float seed[kParameters];
    if (c.seedFromMode) ModeResult(problem, seed); else Starts(problem, seed);
    const CalibrationRefinement refined = RefineCalibration(problem, seed);
    EXPECT_LT(refined.error, 1e-10f);
    EXPECT_LE(refined.error, refined.seedError);
    EXPECT_EQ(refined.onBoundMask, 0u);
    EXPECT_TRUE(refined.converged);
    for (int k = 0; k < kParameters; ++k) {
      const float width = problem.ranges[k].maxVal - problem.ranges[k].minVal;
      EXPECT_NEAR(refined.values[k], fit_scene::Get(c.truth, k), 1e-3f * width) << "parameter " << k;
    }
  }
}

TEST(CalibrationRefinement, StopsOnTheBoundWhenTheTruthLiesBeyondItAndFlagsIt) {
  // The true field of view is 64; its range ends at 62.
  CalibrationProblem problem = Simulated(fit_scene::TrueProjector(), fit_scene::kMisplaced);
  problem.ranges[5] = {55.0f, 62.0f, 60.0f};
  float seed[kParameters];
  ModeResult(problem, seed);
  const CalibrationRefinement refined = RefineCalibration(problem, seed);
  EXPECT_EQ(refined.values[5], 62.0f);
  EXPECT_EQ(refined.onBoundMask, 1u << 5);
  EXPECT_GT(refined.error, 1e-8f);
  EXPECT_LE(refined.error, refined.seedError);
  for (int k = 0; k < kParameters; ++k) {
    EXPECT_GE(refined.values[k], problem.ranges[k].minVal);
    EXPECT_LE(refined.values[k], problem.ranges[k].maxVal);
  }
}

TEST(CalibrationCertainty, NamesThePairsTheEightPointsCannotSeparate) {
  // From the camera of the standard scene, a projector's aim height and its
  // keystone both move the image up, and its distance and its fields of
  // view both scale it: with all nine on, the points cannot tell them apart.
  // Four parameters on leave no such pair.
  const struct {
    std::uint32_t mask;
    std::vector<std::pair<int, int>> pairs;
  } cases[] = {
      {fit_scene::kMisplaced, {}},
      {kAllNine, {{1, 7}, {4, 5}, {4, 6}, {5, 6}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    const CalibrationProblem problem = Simulated(kNineOff, c.mask);
    float seed[kParameters];
    Starts(problem, seed);
    const CalibrationRefinement refined = RefineCalibration(problem, seed);
    const CalibrationCertainty certainty = AnalyseCertainty(problem, refined.values);
    ASSERT_TRUE(certainty.determined);
    std::vector<std::pair<int, int>> pairs;
    for (const InseparablePair& p : certainty.inseparable) {
      pairs.emplace_back(p.first, p.second);
      EXPECT_GT(std::fabs(p.correlation), kInseparableCorrelation);
    }
    EXPECT_EQ(pairs, c.pairs);
    EXPECT_EQ(certainty.parameters.size(), std::bitset<32>(c.mask).count());
    for (const ParameterCertainty& p : certainty.parameters) {
      const float width = problem.ranges[p.parameter].maxVal - problem.ranges[p.parameter].minVal;
      EXPECT_GT(p.standardDeviation, 0.0f);
      EXPECT_FLOAT_EQ(p.shareOfRange * width, p.standardDeviation);
    }
  }
}

TEST(CalibrationRefinement, KeepsASeedWhosePointsMissAndLeavesItUndetermined) {
  // A field of view of 190 degrees makes the lens unusable: every point NaN.
  CalibrationProblem problem = Simulated(fit_scene::TrueProjector(), fit_scene::kMisplaced);
  problem.ranges[5] = {100.0f, 200.0f, 60.0f};
  float seed[kParameters];
  Starts(problem, seed);
  seed[5] = 190.0f;
  const CalibrationRefinement refined = RefineCalibration(problem, seed);
  EXPECT_EQ(std::memcmp(refined.values, seed, sizeof seed), 0);
  EXPECT_TRUE(std::isnan(refined.error));
  EXPECT_FALSE(refined.converged);
  const CalibrationCertainty certainty = AnalyseCertainty(problem, seed);
  EXPECT_FALSE(certainty.determined);
  ASSERT_EQ(certainty.parameters.size(), 4u);
  EXPECT_TRUE(std::isinf(certainty.parameters[0].standardDeviation));
  EXPECT_TRUE(certainty.inseparable.empty());
}

TEST(CalibrationRefinement, GivesTheSameResultBitForBitOnASecondRun) {
  const CalibrationProblem problem = Simulated(kNineOff, kAllNine);
  float seed[kParameters];
  ModeResult(problem, seed);
  const CalibrationRefinement first = RefineCalibration(problem, seed);
  const CalibrationRefinement second = RefineCalibration(problem, seed);
  EXPECT_EQ(std::memcmp(first.values, second.values, sizeof first.values), 0);
  EXPECT_EQ(std::memcmp(&first.error, &second.error, sizeof first.error), 0);
  EXPECT_EQ(first.iterations, second.iterations);
  const CalibrationCertainty a = AnalyseCertainty(problem, first.values);
  const CalibrationCertainty b = AnalyseCertainty(problem, first.values);
  ASSERT_EQ(a.parameters.size(), b.parameters.size());
  EXPECT_EQ(std::memcmp(a.parameters.data(), b.parameters.data(),
                        a.parameters.size() * sizeof a.parameters[0]), 0);
  EXPECT_EQ(a.inseparable.size(), b.inseparable.size());
}

}  // namespace
