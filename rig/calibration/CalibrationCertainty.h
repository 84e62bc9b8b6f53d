// What the eight measured points can tell about the searched parameters at
// a solution: each one's standard deviation and the pairs the points cannot
// tell apart. From the covariance of the module's least-squares problem,
// sigma^2 (J^T J)^-1 with J the Jacobian of the sixteen camera-image
// residuals (camera image units) at the solution, computed by Ceres Solver
// on the range-scaled problem and converted to each parameter's unit.
#pragma once

#include <vector>

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

struct ParameterCertainty {
  int parameter;             // ProjectorParameters index
  float standardDeviation;   // in the parameter's unit; +inf if undetermined
  float shareOfRange;        // standardDeviation / the range's width
};

// Two searched parameters whose estimates are correlated beyond
// kInseparableCorrelation: the points move almost alike under both, so a
// change of one is taken up by the other.
struct InseparablePair {
  int first;    // ProjectorParameters index, first < second
  int second;
  float correlation;
};

struct CalibrationCertainty {
  // False when the Jacobian is rank deficient (some combination of
  // parameters moves no point at all, to the solver's precision): every
  // standard deviation is then +inf and no pairs are listed.
  bool determined;
  // The per-coordinate noise of a point's camera-image position that the
  // standard deviations assume: the larger of the caller's assumption and
  // `residualNoise`.
  float pointNoise;
  // The noise the fit's own residuals imply: sqrt(sum of squares / (16 - n))
  // for n searched parameters. A measurement the model cannot match leaves
  // it above the assumption.
  float residualNoise;
  std::vector<ParameterCertainty> parameters;  // searched, in order
  std::vector<InseparablePair> inseparable;    // in (first, second) order
};

constexpr float kInseparableCorrelation = 0.99f;

// The default noise assumption: 1e-3 camera image units per coordinate,
// about one pixel of a 1000-pixel-wide camera image. A caller that knows the
// camera's image size passes its own (e.g. half a pixel: 0.5 / width).
constexpr float kDefaultPointNoise = 1e-3f;

// The analysis at `values` (ProjectorParameters order), usually a refined
// solution, for the parameters the refinement searches (RefineCalibration:
// problem.searchMask less unusable ranges); a searched value outside its
// range is taken on the nearer bound. Bounds are otherwise ignored: a
// parameter on its bound gets the deviation it would have without it.
// Deterministic (one thread). A point that misses the screen or the
// camera makes the Jacobian unusable: `determined` is then false.
CalibrationCertainty AnalyseCertainty(
    const CalibrationProblem& problem,
    const float (&values)[CalibrationProblem::kParameterCount],
    float assumedPointNoise = kDefaultPointNoise);

}  // namespace rig
