// The module's fit set up for Ceres Solver: one parameter block of the
// searched parameters scaled to their ranges (CalibrationResidualFunctor),
// the sixteen camera-image residuals as one residual block, each range as a
// hard bound [1, 2] on its scaled variable. Shared by the refinement and
// the certainty analysis, so both see the same problem and Jacobian.
#pragma once

#include <ceres/problem.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "rig/calibration/CalibrationResidualFunctor.h"

namespace rig {

class ScaledSolverProblem {
 public:
  // Starts from `values` (ProjectorParameters order); a value outside its
  // range starts on the nearer bound. Parameters not searched keep theirs.
  // `leftOutPoints`: see CalibrationResidualFunctor.
  ScaledSolverProblem(const CalibrationProblem& problem,
                      const float (&values)[CalibrationProblem::kParameterCount],
                      std::uint32_t leftOutPoints = 0);
  ScaledSolverProblem(const ScaledSolverProblem&) = delete;
  ScaledSolverProblem& operator=(const ScaledSolverProblem&) = delete;

  bool Empty() const { return scaled.empty(); }
  const std::vector<int>& Searched() const { return functor->Searched(); }
  ceres::Problem& Solver() { return solver; }
  // The parameter block: scaled searched values, in Searched() order.
  double* Scaled() { return scaled.data(); }
  // The nine values the scaled variables stand for now, each searched one
  // held inside its range.
  void Values(float (&out)[CalibrationProblem::kParameterCount]) const;

 private:
  const CalibrationProblem problem;
  float start[CalibrationProblem::kParameterCount];
  std::unique_ptr<CalibrationResidualFunctor> functor;
  std::vector<double> scaled;
  ceres::Problem solver;
};

}  // namespace rig
