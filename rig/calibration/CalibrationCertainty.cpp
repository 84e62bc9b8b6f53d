#include "rig/calibration/CalibrationCertainty.h"

#include <ceres/covariance.h>
#include <ceres/crs_matrix.h>
#include <ceres/problem.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "rig/calibration/PointResiduals.h"
#include "rig/calibration/QuietSolverLog.h"
#include "rig/calibration/ScaledSolverProblem.h"

namespace rig {

namespace {

// Ceres's covariance does not check that the Jacobian could be evaluated
// (with a failed evaluation it reads an empty matrix), so that is checked
// first: a point that misses leaves the parameters undetermined.
bool JacobianIsFinite(ScaledSolverProblem& scaled) {
  ceres::CRSMatrix jacobian;
  const bool evaluated = scaled.Solver().Evaluate(ceres::Problem::EvaluateOptions(), nullptr,
                                                  nullptr, nullptr, &jacobian);
  bool finite = evaluated && !jacobian.values.empty();
  for (double v : jacobian.values) finite = finite && std::isfinite(v);
  return finite;
}

// The pairs whose correlation in the n x n covariance `c` (row-major, in
// `searched` order) exceeds kInseparableCorrelation.
std::vector<InseparablePair> InseparablePairs(const std::vector<int>& searched,
                                              const std::vector<double>& c) {
  const std::size_t n = searched.size();
  std::vector<InseparablePair> out;
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a + 1; b < n; ++b) {
      const double r = c[a * n + b] / std::sqrt(c[a * n + a] * c[b * n + b]);
      if (std::fabs(r) > kInseparableCorrelation)
        out.push_back({searched[a], searched[b], static_cast<float>(r)});
    }
  }
  return out;
}

}  // namespace

CalibrationCertainty AnalyseCertainty(
    const CalibrationProblem& problem,
    const float (&values)[CalibrationProblem::kParameterCount],
    float assumedPointNoise) {
  CalibrationCertainty out{};
  ScaledSolverProblem scaled(problem, values);
  const std::vector<int>& searched = scaled.Searched();
  const int n = static_cast<int>(searched.size());

  float at[CalibrationProblem::kParameterCount];
  scaled.Values(at);
  const PointResiduals residuals = ComputePointResiduals(problem, at);
  const int freedom = 2 * CalibrationProblem::kPointCount - n;
  out.residualNoise =
      freedom > 0 ? static_cast<float>(std::sqrt(
                        static_cast<double>(residuals.error) / freedom))
                  : std::numeric_limits<float>::quiet_NaN();
  out.pointNoise = std::isnan(out.residualNoise)
                       ? assumedPointNoise
                       : std::max(assumedPointNoise, out.residualNoise);
  if (n == 0) {
    out.determined = true;
    return out;
  }

  const QuietSolverLog quiet;
  const bool finite = JacobianIsFinite(scaled);
  ceres::Covariance::Options options;
  options.algorithm_type = ceres::DENSE_SVD;
  options.num_threads = 1;
  ceres::Covariance covariance(options);
  const double* block = scaled.Scaled();
  const std::vector<std::pair<const double*, const double*>> blocks{{block, block}};
  std::vector<double> c(static_cast<std::size_t>(n) * n);
  out.determined = finite && covariance.Compute(blocks, &scaled.Solver()) &&
                   covariance.GetCovarianceBlock(block, block, c.data());
  // Ceres's covariance is (J^T J)^-1, for unit noise on each residual.
  const double variance = static_cast<double>(out.pointNoise) * out.pointNoise;
  for (int a = 0; a < n; ++a) {
    const ParameterRange& range = problem.ranges[searched[a]];
    const double width = static_cast<double>(range.maxVal) - range.minVal;
    const double share = out.determined
                             ? std::sqrt(variance * c[a * n + a])
                             : std::numeric_limits<double>::infinity();
    out.parameters.push_back({searched[a], static_cast<float>(share * width),
                              static_cast<float>(share)});
  }
  if (out.determined) out.inseparable = InseparablePairs(searched, c);
  return out;
}

}  // namespace rig
