// Point shifts as a calibration would measure them, simulated: the camera
// sees where each grid point of the projector as it truly stands lands, and
// the shift is where that spot lies in the image of the projector as
// assumed, less the grid point. Uses the projection library's inverse
// mapping (CamUV2ProjUV) and the pose model; shifts are in normalised
// projector image units.
#pragma once

#include <array>

#include "rig/scene/Scene.h"

namespace rig {

std::array<std::array<float, 2>, kCalibrationPointCount> SimulateShifts(const Scene& scene,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth);

}  // namespace rig
