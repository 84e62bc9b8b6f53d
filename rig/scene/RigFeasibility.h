// Rigs the program refuses before anything runs, because the module would
// compute nothing for them or something without meaning: more projectors
// than the camera mode takes, a projector or a camera on or outside the
// screen cylinder (the screen is seen from inside; a projector outside
// would light the far wall through the screen).
#pragma once

#include "rig/scene/Scene.h"

namespace rig {

// The camera mode's projector limit: above it the mode refuses the whole
// evaluation and leaves its outputs as they were, so the program would
// report a look-at and field of view the module never computed.
constexpr int kCameraModeMaxProjectors = 1024;

// Throws RigError (exit status 1) naming the first cause found: the
// projector count and the limit; the projector (or camera) and its distance
// from the screen's axis against the radius. Projector positions come from
// the pose model, as the conversion mode places them.
void CheckRigFeasible(const Scene& scene);

}  // namespace rig
