#include "rig/calibration/PointResiduals.h"

#include <cmath>

namespace rig {

PointResiduals ComputePointResiduals(
    const CalibrationProblem& problem,
    const float (&params)[CalibrationProblem::kParameterCount]) {
  DistortionParameterTweaker tweaker = TweakerFor(problem);
  for (int k = 0; k < CalibrationProblem::kParameterCount; ++k)
    *tweaker.Parameter(k).value = params[k];

  PointResiduals out;
  out.error = tweaker.ComputeError();
  double sumSquares = 0.0;
  float largest = 0.0f;
  bool anyNaN = false;
  D3DXVECTOR2 seen[CalibrationProblem::kPointCount];
  tweaker.CameraPoints(seen);
  for (int i = 0; i < CalibrationProblem::kPointCount; ++i) {
    const D3DXVECTOR2& target = tweaker.Target(i);
    out.residual[i] = D3DXVECTOR2(seen[i].x - target.x, seen[i].y - target.y);
    const double dx = out.residual[i].x, dy = out.residual[i].y;
    const double squared = dx * dx + dy * dy;
    const float distance = static_cast<float>(std::sqrt(squared));
    anyNaN = anyNaN || std::isnan(distance);
    if (distance > largest) largest = distance;
    sumSquares += squared;
  }
  out.rms = static_cast<float>(
      std::sqrt(sumSquares / CalibrationProblem::kPointCount));
  out.max = anyNaN ? std::nanf("") : largest;
  return out;
}

}  // namespace rig
