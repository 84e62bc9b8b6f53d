// The calibration problem of the tests' fit scene (tests/tweaker/FitScene.h):
// its camera and screen, the given shifts, the standard ranges and the
// searched parameters in `mask`.
#pragma once

#include "rig/calibration/CalibrationProblem.h"
#include "tests/tweaker/FitScene.h"

namespace fit_scene {

inline rig::CalibrationProblem ProblemWith(const Shifts& shifts, unsigned mask) {
  const Scene scene;
  rig::CalibrationProblem problem{};
  problem.cameraPosition = scene.cameraPosition;
  problem.cameraLookAt = scene.cameraLookAt;
  problem.cameraFieldOfView = scene.cameraFieldOfView;
  problem.cylinderRadius = scene.cylinderRadius;
  for (int i = 0; i < 8; ++i) problem.pointShifts[i] = shifts[static_cast<std::size_t>(i)];
  StandardRanges(problem.ranges);
  problem.searchMask = mask;
  return problem;
}

}  // namespace fit_scene
