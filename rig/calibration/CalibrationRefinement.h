// Bounded least-squares refinement of a projector calibration: polishes the
// module's own error (same targets from the starting values, same pose
// model and projection library, the ranges as hard bounds) from a seed,
// usually the module's search result. Parameters in ProjectorParameters
// order and units (degrees, scene lengths, lens units).
//
// Solver: Ceres Solver (Debian's libceres-dev), Levenberg-Marquardt trust
// region with dense QR, numeric central differences, one thread. Chosen over
// Eigen's unsupported Levenberg-Marquardt because Ceres enforces simple
// bounds itself (SetParameterLowerBound/UpperBound, steps projected onto the
// box), lets us choose the derivative step, and computes covariances from
// the same Jacobian (ceres::Covariance, used by CalibrationCertainty);
// Eigen's module has no bounds and no covariance. One thread and dense QR
// make the solve deterministic: the same problem and seed give the same
// result bit for bit.
#pragma once

#include <cstdint>

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

struct CalibrationRefinement {
  // The refined values; parameters not searched keep the seed's. Each
  // searched value lies within its range.
  float values[CalibrationProblem::kParameterCount];
  // The module's error (DistortionParameterTweaker::ComputeError) at the
  // seed and at `values`. Never worse than the seed's: if the solver ends
  // on a higher error, the seed is kept.
  float seedError;
  float error;
  // Bit k set: searched parameter k ended on its range's minimum or maximum
  // (within a millionth of the range's width). The truth may lie beyond it.
  std::uint32_t onBoundMask;
  int iterations;       // solver iterations (successful or not)
  bool converged;       // the solver met a convergence tolerance
};

// Refines the searched parameters (problem.searchMask; ranges of zero width
// or with an end that is not finite excluded) from `seed`. A seed value outside its range starts on the
// nearer bound. Stops when the module's error falls below 1e-15 (further
// progress is float rounding), on the solver's tolerances, or after 100
// iterations; nothing can run longer. Throws TweakerError "minVal bigger
// than maxVal" for a reversed range.
//
// Bit i of `leftOutPoints` leaves grid point i out: the fit matches the
// other points only, and `seedError` and `error` are then the sums of
// squared distances over the points kept.
CalibrationRefinement RefineCalibration(
    const CalibrationProblem& problem,
    const float (&seed)[CalibrationProblem::kParameterCount],
    std::uint32_t leftOutPoints = 0);

}  // namespace rig
