#include "rig/calibration/ScaledSolverProblem.h"

#include <ceres/dynamic_numeric_diff_cost_function.h>

#include <algorithm>

namespace rig {

ScaledSolverProblem::ScaledSolverProblem(
    const CalibrationProblem& problemIn,
    const float (&values)[CalibrationProblem::kParameterCount],
    std::uint32_t leftOutPoints)
    : problem(problemIn),
      functor(std::make_unique<CalibrationResidualFunctor>(problemIn, values, leftOutPoints)) {
  std::copy(values, values + CalibrationProblem::kParameterCount, start);
  const std::vector<int>& searched = functor->Searched();
  if (searched.empty()) return;
  for (int k : searched) scaled.push_back(functor->ToScaled(k, values[k]));

  ceres::NumericDiffOptions diffOptions;
  diffOptions.relative_step_size = CalibrationResidualFunctor::kDerivativeStep;
  auto* cost = new ceres::DynamicNumericDiffCostFunction<
      CalibrationResidualFunctor, ceres::CENTRAL>(
      functor.get(), ceres::DO_NOT_TAKE_OWNERSHIP, diffOptions);
  cost->AddParameterBlock(static_cast<int>(scaled.size()));
  cost->SetNumResiduals(CalibrationResidualFunctor::kResidualCount);
  solver.AddResidualBlock(cost, nullptr, scaled.data());
  for (std::size_t j = 0; j < scaled.size(); ++j) {
    solver.SetParameterLowerBound(scaled.data(), static_cast<int>(j), 1.0);
    solver.SetParameterUpperBound(scaled.data(), static_cast<int>(j), 2.0);
  }
}

void ScaledSolverProblem::Values(
    float (&out)[CalibrationProblem::kParameterCount]) const {
  std::copy(start, start + CalibrationProblem::kParameterCount, out);
  const std::vector<int>& searched = functor->Searched();
  for (std::size_t j = 0; j < scaled.size(); ++j) {
    const int k = searched[j];
    const ParameterRange& range = problem.ranges[k];
    const float value = functor->FromScaled(k, scaled[j]);
    out[k] = std::min(range.maxVal, std::max(range.minVal, value));
  }
}

}  // namespace rig
