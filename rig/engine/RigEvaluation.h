// One evaluation of a scene through the loaded module, the one path that
// `run` and the studio share: the scene's channels built in the session's
// group, the conversions and the eye's mode evaluated, each calibration
// evaluated once (or its result taken from a cache keyed by its inputs),
// and the report read from the channels.
#pragma once

#include "rig/engine/CalibrationCache.h"
#include "rig/engine/ModuleSession.h"
#include "rig/reports/RigReport.h"
#include "rig/scene/Scene.h"

namespace rig {

// Makes a scene as read ready to evaluate, or refuses it (RigError, bad
// input): a rig the module cannot compute (RigFeasibility.h), markers
// given in camera pixels turned into the module's shifts, and calibration
// grid points that the measuring camera cannot see.
void PrepareScene(Scene& scene);

// Builds `scene` in `session` (which must hold no other rig), evaluates it
// and reports it; with `refine`, each calibration's result is refined too.
// With a `cache`, a calibration whose inputs it knows is not evaluated by
// the module: its fitted values (and refinement) are set on the channels
// from the cache, as the module's run had left them. Throws RigError
// (module) when the module stops an evaluation.
RigReport EvaluateScene(ModuleSession& session, const Scene& scene, bool refine,
                        CalibrationCache* cache);

}  // namespace rig
