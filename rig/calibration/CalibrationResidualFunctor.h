// The module's fit as a least-squares problem for Ceres Solver: the sixteen
// residuals (u and v, camera image units, of each grid point's mapped point
// minus its target) as a function of the searched parameters, each scaled
// to its range. Targets come from the problem's starting values, exactly as
// the module builds them; every value goes through the module's own tweaker.
#pragma once

#include <cstdint>
#include <vector>

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

// Scaling. Searched parameter k with range [min, max] is the solver variable
//   s = 1 + (value - min) / (max - min),  so s runs from 1 to 2,
//   value = min + (s - 1) (max - min), formed in double, rounded once to float.
// Ranges become comparable (the trust region is a ball in s), and the
// offset of 1 keeps |s| between 1 and 2, so Ceres's relative derivative step
// (relative_step_size |s|) is an almost constant share of every range: see
// kDerivativeStep.
//
// Parameters whose bit is not set keep the seed's values and are not solver
// variables. A parameter whose range has zero width (the module throws
// "invalid interval size" for it) or an infinite or NaN end cannot be
// scaled to its range; it is treated as not searched here.
class CalibrationResidualFunctor {
 public:
  static constexpr int kResidualCount = 2 * CalibrationProblem::kPointCount;

  // Central differences with a step of 1e-3 to 2e-3 of each range's width.
  // The residuals are computed in 32-bit floats, so each carries rounding
  // noise of about 1e-7 of its magnitude (u, v near 0.5): a step of the
  // double default (1e-6) would leave only a few float spacings of signal
  // and a gradient made mostly of noise. With h = 1e-3 the noise term of
  // the central difference (noise / h, about 1e-4 of a typical derivative)
  // and its truncation term (h^2) are both small.
  static constexpr double kDerivativeStep = 1e-3;

  // `seed` gives the values of the parameters that are not searched (and is
  // otherwise unused here).
  // Bit i of `leftOutPoints` leaves grid point i out of the fit: its two
  // residuals are always 0 (the leave-one-out test of PointOutliers.h).
  CalibrationResidualFunctor(
      const CalibrationProblem& problem,
      const float (&seed)[CalibrationProblem::kParameterCount],
      std::uint32_t leftOutPoints = 0);

  // The searched parameter indices, in ProjectorParameters order.
  const std::vector<int>& Searched() const { return searched; }

  double ToScaled(int k, float value) const;
  float FromScaled(int k, double s) const;

  // Ceres's dynamic functor interface: one parameter block holding the
  // scaled searched parameters; writes kResidualCount residuals. Returns
  // false (a failed evaluation, which the solver steps back from) when any
  // mapping misses.
  bool operator()(double const* const* parameters, double* residuals) const;

 private:
  // Mutable: an evaluation writes the trial values into the tweaker and
  // recomputes its pose. The functor is used by one solver thread only.
  mutable DistortionParameterTweaker tweaker;
  std::vector<int> searched;
  std::uint32_t leftOut;
};

}  // namespace rig
