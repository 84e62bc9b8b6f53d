// The last guard before anything is shown: every number of a report must be
// finite. Values inside their intervals can still meet in a geometry that
// has no answer (a projector outside the screen aiming past it, a camera on
// the screen); such a result is refused with the projector and the quantity
// named, never printed as a result.
#pragma once

#include <nlohmann/json.hpp>

#include "rig/reports/RigReport.h"

namespace rig {

// The report's JSON form (RigReportJson), once every number in it is known
// to be finite; otherwise throws RigError (bad input) naming the owner
// (projector, calibration, neighbours, eye) and the quantity of the first
// number that is not. Callers show the JSON it returns rather than building
// it again (at 512 projectors that is a sixth of a run).
nlohmann::json FiniteReportJson(const RigReport& report);

}  // namespace rig
