// Point shifts as a calibration would measure them, simulated: the camera
// sees where each grid point of the projector as it truly stands lands, and
// the shift is where that spot lies in the image of the projector as
// assumed, less the grid point (CameraMarkers.h). Shifts are in normalised
// projector image units.
#pragma once

#include <array>

#include "rig/scene/Scene.h"

namespace rig {

// Measured by the scene's camera.
std::array<std::array<float, 2>, 8> SimulateShifts(const Scene& scene,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth);
// Measured by `camera`.
std::array<std::array<float, 2>, 8> SimulateShifts(const Scene& scene, const Camera& camera,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth);

}  // namespace rig
