// The rig program's --refine: after the module's mode has run once on a
// measurement, the bounded least-squares refinement polishes its result
// (rig/calibration/CalibrationRefinement.h), and the report sets the two
// side by side (error, each point's residual, parameters) with what the
// eight points can tell about each searched parameter. Camera image units
// (image width and height = 1), parameters in their own units.
#pragma once

#include <array>
#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "rig/calibration/CalibrationCertainty.h"
#include "rig/calibration/CalibrationRefinement.h"
#include "rig/calibration/PointOutliers.h"
#include "rig/calibration/PointResiduals.h"

namespace rig {

struct CalibrationReport;
struct RigReport;

struct RefinementResult {
  CalibrationRefinement refinement;  // seeded from the module's result
  PointResiduals residuals;          // at the refined values
  CalibrationCertainty certainty;    // at the refined values
  OutlierAnalysis outliers;          // the leave-one-out test at the refined values
};

// The per-coordinate point noise the standard deviations assume: one pixel
// of the image's shorter side when the image size is known (the coarser of
// the two pixel pitches in image units), otherwise kDefaultPointNoise
// (about a pixel of a 1000-pixel image).
float AssumedPointNoise(const std::optional<std::array<int, 2>>& imageSize);

// Refines every calibration of `report` from its module result (the
// "fitted" values) and fills in its `refinement`. The module is not
// evaluated again; calibrations read from a saved project are refined
// from their saved result.
void AddRefinements(RigReport& report);

// Printed after the calibration's own report; the JSON is its
// "refinement" member. Both only for a report whose `refinement` is set.
void PrintRefinementReport(std::ostream& out, const CalibrationReport& report);
nlohmann::json RefinementReportJson(const CalibrationReport& report);

}  // namespace rig
