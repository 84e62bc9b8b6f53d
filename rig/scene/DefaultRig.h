// The rig the program shows when run without arguments: three projectors
// side by side on a screen of radius 5, a camera near the axis, and a
// calibration of the centre projector whose shifts are simulated from a
// slightly different "true" projector, so the report shows what the search
// recovers.
#pragma once

#include "rig/scene/Scene.h"

namespace rig {

// The centre projector as it truly stands: 2.5 degrees further round, 0.12
// higher, a 3 degree wider image and 1.5 degrees more roll than planned.
ProjectorParameters DefaultRigTruth(const ProjectorParameters& planned);

Scene DefaultRig();

}  // namespace rig
