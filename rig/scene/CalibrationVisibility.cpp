#include "rig/scene/CalibrationVisibility.h"

#include <cmath>
#include <string>

#include "rig/RigError.h"
#include "rig/analyses/CameraMarkers.h"
#include "rig/output/ShortestFloat.h"

namespace rig {

void CheckCalibrationsVisible(const Scene& scene) {
  for (const Calibration& c : scene.calibrations) {
    const Projector* projector = scene.FindProjector(c.projector);
    if (!projector) continue;
    const std::array<D3DXVECTOR2, 8> seen =
        MarkersOfShifts(scene, ViewOf(scene, scene.CameraOf(c)), projector->parameters, c.shifts);
    std::string behind, outside;
    for (std::size_t i = 0; i < 8; ++i) {
      const D3DXVECTOR2 uv = seen[i];
      if (!std::isfinite(uv.x) || !std::isfinite(uv.y)) {
        behind += " " + std::to_string(i);
      } else if (!(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f)) {
        outside += " " + std::to_string(i) + " at (" + ShortestFloatText(uv.x) + ", " +
                   ShortestFloatText(uv.y) + ")";
      }
    }
    if (behind.empty() && outside.empty()) continue;
    std::string message = "calibration of \"" + c.projector + "\": grid points";
    if (!outside.empty()) {
      message += outside + " fall outside the image of " +
                 (c.camera ? "its own camera" : "the scene's camera") +
                 " (camera image u, v in [0, 1])";
    }
    if (!behind.empty()) {
      message += std::string(outside.empty() ? "" : ";") + behind + " lie behind " +
                 (c.camera ? "its own camera" : "the scene's camera") + " or off the screen";
    }
    throw RigError(kExitBadInput, message +
                                      ": they cannot have been measured there; check the camera, "
                                      "the shifts and the projector's start values");
  }
}

}  // namespace rig
