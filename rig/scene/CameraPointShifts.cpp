#include "rig/scene/CameraPointShifts.h"

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"

namespace rig {

std::array<MarkerConversion, 8> ConvertCameraPoints(const Scene& scene, const Calibration& c,
                                                    const ProjectorParameters& start) {
  const Camera& camera = scene.CameraOf(c);
  return ConvertMarkers(scene, ViewOf(scene, camera), start,
                        FromPixels(*c.cameraPoints, *camera.imageSize));
}

void ShiftsFromCameraPoints(Scene& scene) {
  for (Calibration& c : scene.calibrations) {
    const Projector* projector = scene.FindProjector(c.projector);
    if (!c.cameraPoints || !projector || !scene.CameraOf(c).imageSize) continue;
    const std::array<MarkerConversion, 8> markers = ConvertCameraPoints(scene, c, projector->parameters);
    std::string offScreen, offImage;
    for (std::size_t i = 0; i < 8; ++i) {
      const auto& px = (*c.cameraPoints)[i];
      const std::string point = " " + std::to_string(i) + " (" + ShortestFloatText(px[0]) + ", " +
                                ShortestFloatText(px[1]) + ")";
      if (!markers[i].onScreen) {
        offScreen += point;
      } else if (!markers[i].onImage) {
        offImage += point + " at projector (u, v) = (" + ShortestFloatText(markers[i].projector.x) +
                    ", " + ShortestFloatText(markers[i].projector.y) + ")";
      }
    }
    if (offScreen.empty() && offImage.empty()) {
      c.shifts = ShiftsOf(markers);
      continue;
    }
    std::string message = "calibration of \"" + c.projector + "\": camera points (pixels)";
    if (!offScreen.empty()) {
      message += offScreen + " see no screen spot that the projector at its start values lights";
    }
    if (!offImage.empty()) {
      message += std::string(offScreen.empty() ? "" : ";") + offImage +
                 " map off the projector's image (u and v must lie within a quarter image of [0, 1])";
    }
    throw RigError(kExitBadInput, message + "; check the markers, the camera and the start values");
  }
}

}  // namespace rig
