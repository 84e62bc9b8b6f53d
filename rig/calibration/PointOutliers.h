// Bad points found after the refinement: a leave-one-out test. For each of
// the eight grid points the refinement is run again without it (from the
// refined values), and the point's residual under that fit, which the
// point itself did not pull, is compared with what measurement noise
// alone would leave there:
//
//   t^2 = r^T C^-1 r / s^2,   C = I + J_i (J_-i^T J_-i)^-1 J_i^T
//
// r: the left-out point's camera-image residual, each coordinate divided
// by its assumed noise; J_i, J_-i: the Jacobian rows (likewise divided) of
// that point and of the other seven, at the leave-one-out fit; C: the
// spread a prediction from seven noisy points adds to the point's own
// noise; s^2: the larger of 1 and the other points' own residual variance
// in noise units (sum of squares over 14 - n, n parameters searched), so a
// measurement noisier than assumed raises the bar instead of flagging
// every point. With Gaussian noise t^2 follows a chi-square with two
// degrees of freedom: t > kOutlierThreshold (4 noise units) has a chance of
// exp(-8) = 3.4e-4 per clean point. A point beyond it is named.
#pragma once

#include <cstdint>
#include <vector>

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

constexpr float kOutlierThreshold = 4.0f;

struct LeftOutPoint {
  int point;    // 0..7, DistortionParameterTweaker::kGridPoints order
  float score;  // t above, noise units; NaN when it could not be formed
  // The left-out point's residual under the fit without it, camera image units.
  float residualU, residualV;
  // The refinement without this point: all nine values (those not searched
  // as in the refined values).
  float values[CalibrationProblem::kParameterCount];
};

struct OutlierAnalysis {
  // False when fewer than one residual per searched parameter would remain
  // with a point left out, or nothing is searched: no test then.
  bool tested = false;
  float noiseU = 0, noiseV = 0;    // assumed noise per coordinate, camera image units
  std::vector<LeftOutPoint> points;  // all eight when tested, in point order
  std::vector<int> outliers;         // score > kOutlierThreshold, worst first
};

// The test at the refined values `refined` (ProjectorParameters order),
// assuming noise `noiseU`, `noiseV` (camera image units per coordinate;
// one pixel of each axis when the image size is known). Deterministic:
// one thread, no randomness.
OutlierAnalysis FindOutliers(const CalibrationProblem& problem,
                             const float (&refined)[CalibrationProblem::kParameterCount],
                             float noiseU, float noiseV);

}  // namespace rig
