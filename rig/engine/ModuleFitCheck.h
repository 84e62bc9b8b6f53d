// The report's errors and residuals of a calibration are recomputed by the
// program with its own copy of the module's search (the tweaker linked into
// it); the values they are computed at are the ones the loaded module wrote
// back. That is only the module's result if both compute alike, so the
// program runs its copy on the same problem and compares bit for bit: a
// module built from other sources (--module) that fits differently is
// refused rather than reported under a wrong error.
#pragma once

#include <string>

#include "rig/calibration/CalibrationProblem.h"

namespace rig {

// Throws RigError (module) naming the projector and the first parameter
// whose value `moduleFitted` (ProjectorParameters order, as the loaded
// module wrote them back) differs in its bits from what the program's copy
// of the search finds for `problem`. NaN equals NaN here.
void CheckModuleFit(const CalibrationProblem& problem, const ProjectorParameters& moduleFitted,
                    const std::string& projector);

}  // namespace rig
