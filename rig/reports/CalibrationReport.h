// What a practitioner wants to know about one calibration: the error before
// and after, each of the eight points' residual in the camera image (and in
// pixels when the image size is known), their RMS and maximum, and a
// warning for every searched parameter that ended within one scan step of a
// bound of its range (the truth may lie outside it). Camera image units: u
// 0 (left) to 1 (right), v 0 (top) to 1 (bottom); parameters in their own
// units (degrees, scene lengths, half image heights).
//
// The results are built by one function and printed by others, so more
// results (a refinement, a write-back) can be added beside them.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rig/analyses/CameraMarkers.h"
#include "rig/reports/RefinementReport.h"
#include "rig/scene/Scene.h"
#include "rig/analyses/ScreenTrace.h"
#include "rig/calibration/PointResiduals.h"

namespace rig {

struct BoundWarning {
  int parameter;      // 0..8
  bool atMaximum;     // which end of the range it ended near
  float scanStep;     // the search's coarse step, ParameterTweaker::ScanStep
};

struct CalibrationReport {
  std::string projector;
  ProjectorParameters start{}, fitted{};
  std::array<Range, kProjectorParameterCount> ranges{};
  unsigned searchMask = 0;
  std::array<std::array<float, 2>, kCalibrationPointCount> shifts{};
  PointResiduals before{}, after{};  // the start's and the fit's
  // The camera that measured the markers: the scene's, or (ownCamera) the
  // calibration's own; its look-at as the module's conversion placed it.
  bool ownCamera = false;
  Camera camera;
  D3DXVECTOR3 cameraLookAt{};
  std::optional<std::array<int, 2>> imageSize;  // the measuring camera's
  // When the markers were given in camera pixels: each one's conversion to
  // the start projector's image (the shifts are made of those).
  std::optional<std::array<MarkerConversion, 8>> markers;
  std::optional<Pairs8> cameraPoints;  // as given, pixels
  std::vector<BoundWarning> warnings;
  // On the unrolled screen, for each grid point: where the measurement saw
  // it (the target), where the start put it, and where the fit puts it.
  std::array<UnrolledPoint, kCalibrationPointCount> targets{}, startPoints{}, fittedPoints{};
  // True when the result was read from a saved project, not evaluated now.
  bool fromSave = false;
  // The problem exactly as the module received it (ProblemOf).
  CalibrationProblem problem{};
  // With --refine: the refinement of the module's result (AddRefinements).
  std::optional<RefinementResult> refinement;
};

// The problem exactly as the module received it: the measuring camera (the
// calibration's own or the scene's; its look-at is the conversion's "out:
// Camera Lookat"), the screen, the shifts, the ranges around the starting
// values and the search mask.
CalibrationProblem ProblemOf(const Scene& scene, const Calibration& c,
                             const ProjectorParameters& start, D3DXVECTOR3 cameraLookAt);

// Builds the report of a calibration that started at `start` and ended at
// `fitted`; screen points are unrolled against `referenceAngle` (degrees).
CalibrationReport BuildCalibrationReport(const Scene& scene, const Calibration& c,
                                         const ProjectorParameters& start,
                                         const ProjectorParameters& fitted,
                                         D3DXVECTOR3 cameraLookAt, float referenceAngle,
                                         bool fromSave);

// A residual's length in the camera image, and in pixels (each image axis
// scaled by its own pixel count); the RMS and maximum of the eight in pixels
// (NaN wins the maximum, as in PointResiduals::max).
float Distance(D3DXVECTOR2 r);
float Pixels(D3DXVECTOR2 r, const std::array<int, 2>& size);
float RmsPixels(const PointResiduals& p, const std::array<int, 2>& size);
float MaxPixels(const PointResiduals& p, const std::array<int, 2>& size);
// Error, RMS, maximum and each point's residual; in pixels too with a size.
nlohmann::json ResidualsJson(const PointResiduals& p,
                             const std::optional<std::array<int, 2>>& size);

void PrintCalibrationReport(std::ostream& out, const CalibrationReport& report);
nlohmann::json CalibrationReportJson(const CalibrationReport& report);

}  // namespace rig
