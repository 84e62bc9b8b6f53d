// A calibration's grid points must be where its camera could see them: the
// spot each measured point (grid point plus shift, lit by the projector at
// its start values) lands on must lie in front of the measuring camera and
// inside its image. A point elsewhere cannot have been measured there.
#pragma once

#include "rig/scene/Scene.h"

namespace rig {

// Throws RigError (bad input) naming the calibration, the camera (the
// scene's or its own) and every grid point outside the camera's image (with
// its camera image coordinates) or behind it (or off the screen).
void CheckCalibrationsVisible(const Scene& scene);

}  // namespace rig
