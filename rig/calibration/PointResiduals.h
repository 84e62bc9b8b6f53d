// How far a projector's eight grid points land from their targets in the
// camera image, for given parameter values, with the targets built from the
// problem's starting values exactly as the module builds them. Camera image
// units: u 0 (left) to 1 (right), v 0 (top) to 1 (bottom).
#pragma once

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

struct PointResiduals {
  // Mapped grid point minus its target, for each of the eight points in
  // DistortionParameterTweaker::kGridPoints order. NaN where a mapping
  // misses.
  D3DXVECTOR2 residual[CalibrationProblem::kPointCount];
  // Root mean square of the eight distances |residual|, formed in double
  // and rounded once to float.
  float rms;
  // The largest of the eight distances (NaN if any is NaN).
  float max;
  // The module's error for these values: the float sum of the eight squared
  // distances, computed by DistortionParameterTweaker::ComputeError itself,
  // so it is the number the module's search compares, bit for bit.
  float error;
};

// `params` in ProjectorParameters order. Values outside their ranges are
// used as given (nothing is clamped). Throws TweakerError "minVal bigger
// than maxVal" for a reversed range, as the module does.
PointResiduals ComputePointResiduals(
    const CalibrationProblem& problem,
    const float (&params)[CalibrationProblem::kParameterCount]);

}  // namespace rig
