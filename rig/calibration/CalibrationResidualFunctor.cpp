#include "rig/calibration/CalibrationResidualFunctor.h"

#include <algorithm>
#include <cmath>

namespace rig {

CalibrationResidualFunctor::CalibrationResidualFunctor(
    const CalibrationProblem& problem,
    const float (&seed)[CalibrationProblem::kParameterCount],
    std::uint32_t leftOutPoints)
    : tweaker(TweakerFor(problem)), leftOut(leftOutPoints) {
  for (int k = 0; k < CalibrationProblem::kParameterCount; ++k) {
    *tweaker.Parameter(k).value = seed[k];
    const BoundedParameter& p = tweaker.Parameter(k);
    const bool finite = std::isfinite(p.minVal) && std::isfinite(p.maxVal);
    if (HasParameter(problem.searchMask, k) && finite && p.maxVal > p.minVal)
      searched.push_back(k);
  }
}

double CalibrationResidualFunctor::ToScaled(int k, float value) const {
  const BoundedParameter& p = tweaker.Parameter(k);
  const double width = static_cast<double>(p.maxVal) - p.minVal;
  const double s = 1.0 + (static_cast<double>(value) - p.minVal) / width;
  return std::min(2.0, std::max(1.0, s));
}

float CalibrationResidualFunctor::FromScaled(int k, double s) const {
  const BoundedParameter& p = tweaker.Parameter(k);
  const double width = static_cast<double>(p.maxVal) - p.minVal;
  const float value = static_cast<float>(p.minVal + (s - 1.0) * width);
  return value;
}

bool CalibrationResidualFunctor::operator()(double const* const* parameters,
                                            double* residuals) const {
  for (std::size_t j = 0; j < searched.size(); ++j)
    *tweaker.Parameter(searched[j]).value =
        FromScaled(searched[j], parameters[0][j]);
  const float error = tweaker.ComputeError();
  if (!std::isfinite(error)) return false;
  D3DXVECTOR2 seen[CalibrationProblem::kPointCount];
  tweaker.CameraPoints(seen);
  for (int i = 0; i < CalibrationProblem::kPointCount; ++i) {
    const D3DXVECTOR2& target = tweaker.Target(i);
    const float du = seen[i].x - target.x;
    const float dv = seen[i].y - target.y;
    const bool kept = !((leftOut >> i) & 1u);
    residuals[2 * i] = kept ? du : 0.0f;
    residuals[2 * i + 1] = kept ? dv : 0.0f;
  }
  return true;
}

}  // namespace rig
