#include "rig/calibration/PointOutliers.h"

#include <ceres/crs_matrix.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "rig/calibration/CalibrationRefinement.h"
#include "rig/calibration/PointResiduals.h"
#include "rig/calibration/QuietSolverLog.h"
#include "rig/calibration/ScaledSolverProblem.h"

namespace rig {
namespace {

constexpr int kPoints = CalibrationProblem::kPointCount;

// The Jacobian of the sixteen residuals in the scaled variables at
// `values`, each row divided by its coordinate's noise; empty when an
// evaluation fails or is not finite.
Eigen::MatrixXd ScaledJacobian(const CalibrationProblem& problem,
                               const float (&values)[CalibrationProblem::kParameterCount],
                               double noiseU, double noiseV) {
  ScaledSolverProblem scaled(problem, values);
  const int n = static_cast<int>(scaled.Searched().size());
  const QuietSolverLog quiet;
  ceres::CRSMatrix crs;
  if (n == 0 || !scaled.Solver().Evaluate(ceres::Problem::EvaluateOptions(), nullptr, nullptr,
                                          nullptr, &crs)) {
    return {};
  }
  Eigen::MatrixXd j = Eigen::MatrixXd::Zero(crs.num_rows, crs.num_cols);
  for (int row = 0; row < crs.num_rows; ++row) {
    for (int at = crs.rows[row]; at < crs.rows[row + 1]; ++at) {
      j(row, crs.cols[at]) = crs.values[at] / (row % 2 == 0 ? noiseU : noiseV);
    }
  }
  return j.allFinite() ? j : Eigen::MatrixXd();
}

float Score(const CalibrationProblem& problem, const LeftOutPoint& p, double noiseU,
            double noiseV, int searched) {
  const Eigen::MatrixXd j = ScaledJacobian(problem, p.values, noiseU, noiseV);
  if (j.rows() != 2 * kPoints) return NAN;
  const PointResiduals r = ComputePointResiduals(problem, p.values);
  Eigen::MatrixXd others(2 * kPoints - 2, j.cols());
  double othersSquares = 0.0;
  for (int i = 0, row = 0; i < kPoints; ++i) {
    if (i == p.point) continue;
    others.row(row++) = j.row(2 * i);
    others.row(row++) = j.row(2 * i + 1);
    const double u = r.residual[i].x / noiseU, v = r.residual[i].y / noiseV;
    othersSquares += u * u + v * v;
  }
  const Eigen::MatrixXd normal = others.transpose() * others;
  const Eigen::FullPivLU<Eigen::MatrixXd> lu(normal);
  if (lu.rank() < normal.rows()) return NAN;
  const Eigen::MatrixXd ji = j.middleRows(2 * p.point, 2);
  const Eigen::Matrix2d spread = Eigen::Matrix2d::Identity() + ji * lu.solve(ji.transpose());
  const Eigen::Vector2d e(p.residualU / noiseU, p.residualV / noiseV);
  const double variance = std::max(1.0, othersSquares / (2 * kPoints - 2 - searched));
  const double t2 = e.dot(spread.ldlt().solve(e)) / variance;
  return std::isfinite(t2) ? static_cast<float>(std::sqrt(std::max(0.0, t2))) : NAN;
}

}  // namespace

OutlierAnalysis FindOutliers(const CalibrationProblem& problem,
                             const float (&refined)[CalibrationProblem::kParameterCount],
                             float noiseU, float noiseV) {
  OutlierAnalysis out;
  out.noiseU = noiseU;
  out.noiseV = noiseV;
  const int searched = static_cast<int>(ScaledSolverProblem(problem, refined).Searched().size());
  // Each left-out fit needs more residuals than parameters, and a scale.
  if (searched == 0 || 2 * kPoints - 2 - searched < 1 || !(noiseU > 0.0f) || !(noiseV > 0.0f)) {
    return out;
  }
  out.tested = true;
  for (int i = 0; i < kPoints; ++i) {
    const CalibrationRefinement fit = RefineCalibration(problem, refined, 1u << i);
    LeftOutPoint p{};
    p.point = i;
    std::copy(fit.values, fit.values + CalibrationProblem::kParameterCount, p.values);
    const PointResiduals r = ComputePointResiduals(problem, p.values);
    p.residualU = r.residual[i].x;
    p.residualV = r.residual[i].y;
    p.score = Score(problem, p, noiseU, noiseV, searched);
    out.points.push_back(p);
    if (p.score > kOutlierThreshold) out.outliers.push_back(i);
  }
  std::stable_sort(out.outliers.begin(), out.outliers.end(),
                   [&](int a, int b) { return out.points[a].score > out.points[b].score; });
  return out;
}

}  // namespace rig
