// One projector calibration as the automatic configuration sees it: the
// camera, the screen, the eight measured point shifts, each parameter's
// range and starting value, and which parameters to search. Scene frame of
// the pose model (Y up, screen cylinder about the Y axis, angles in degrees);
// shifts in normalised projector image units.
#pragma once

#include <cstdint>

#include "host/d3dx/D3DXMath.h"
#include "pose/ProjectorParameterTable.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace rig {

struct CalibrationProblem {
  static constexpr int kParameterCount =
      DistortionParameterTweaker::kParameterCount;
  static constexpr int kPointCount = DistortionParameterTweaker::kPointCount;

  D3DXVECTOR3 cameraPosition;
  D3DXVECTOR3 cameraLookAt;       // a screen point: its angle and height aim
  D3DXVECTOR3 cameraFieldOfView;  // full angles (x, y, unused), degrees
  float cylinderRadius;
  // The shift of each grid point (DistortionParameterTweaker::kGridPoints).
  D3DXVECTOR2 pointShifts[kPointCount];
  // In ProjectorParameters order: range and starting value (`value`). The
  // targets are built from the starting values, as the module builds them.
  ParameterRange ranges[kParameterCount];
  // Bit k searches parameter k (bit 0 ProjLookatAngX ... bit 8 ProjRoll);
  // bits 9 and up are ignored.
  std::uint32_t searchMask;
};

// The module's fit of `problem`: the tweaker the automatic configuration
// builds, targets from the starting values included. Throws TweakerError
// "minVal bigger than maxVal" for a reversed range.
inline DistortionParameterTweaker TweakerFor(const CalibrationProblem& problem) {
  return DistortionParameterTweaker(problem.cameraPosition, problem.cameraLookAt,
                                    problem.cameraFieldOfView,
                                    problem.cylinderRadius, problem.pointShifts,
                                    problem.ranges);
}

}  // namespace rig
