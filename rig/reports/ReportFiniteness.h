// The last guard before anything is shown: every number of a report must be
// finite. Values inside their intervals can still meet in a geometry that
// has no answer (a projector outside the screen aiming past it, a camera on
// the screen); such a result is refused with the projector and the quantity
// named, never printed as a result.
#pragma once

#include "rig/reports/RigReport.h"

namespace rig {

// Throws RigError (bad input) naming the owner (projector, calibration,
// neighbours, eye) and the quantity of the first number of the report's
// JSON form that is not finite.
void RequireFiniteReport(const RigReport& report);

}  // namespace rig
