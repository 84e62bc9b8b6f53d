// A calibration given as markers in the measuring camera's pixels
// (`camera_points`) turned into the shifts the module takes, through the
// start projector's inverse mapping (CameraMarkers.h), before the
// calibration runs.
#pragma once

#include <array>

#include "rig/analyses/CameraMarkers.h"

namespace rig {

// The conversion of `c`'s camera points (which it must have; its camera
// must have an image size) through the projector at `start`.
std::array<MarkerConversion, 8> ConvertCameraPoints(const Scene& scene, const Calibration& c,
                                                    const ProjectorParameters& start);

// Sets the shifts of every calibration given by camera points. Throws
// RigError (bad input) naming the calibration and each marker that maps
// off the screen or off the projector's image: no shift can describe it.
void ShiftsFromCameraPoints(Scene& scene);

}  // namespace rig
