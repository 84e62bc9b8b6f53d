#include "rig/scene/RigFeasibility.h"

#include <cmath>
#include <string>

#include "rig/RigError.h"
#include "rig/analyses/ScreenTrace.h"
#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

// Distance from the screen's axis (Y) in the scene's unit, in float as the
// module's geometry works.
float AxisDistance(float x, float z) { return std::sqrt(x * x + z * z); }

void CheckInside(const std::string& what, float x, float z, float radius) {
  const float d = AxisDistance(x, z);
  if (d < radius) return;
  throw RigError(kExitBadInput, what + " stands " + ShortestFloatText(d) + " from the screen's axis, " +
                                    (d == radius ? "on" : "outside") + " the screen of radius " +
                                    ShortestFloatText(radius) + ": it must stand inside the cylinder");
}

}  // namespace

void CheckRigFeasible(const Scene& scene) {
  const std::size_t count = scene.projectors.size();
  if (count > static_cast<std::size_t>(kCameraModeMaxProjectors)) {
    throw RigError(kExitBadInput, "the rig has " + std::to_string(count) +
                                      " projectors; the camera mode frames at most " +
                                      std::to_string(kCameraModeMaxProjectors));
  }
  for (const Projector& p : scene.projectors) {
    const ProjectorLens lens = LensOf(p.parameters, scene.radius);
    CheckInside("projector \"" + p.name + "\"", lens.position.x, lens.position.z, scene.radius);
  }
  CheckInside("the camera", scene.camera.position[0], scene.camera.position[2], scene.radius);
  for (const Calibration& c : scene.calibrations) {
    if (c.camera) {
      CheckInside("the camera of the calibration of \"" + c.projector + "\"", c.camera->position[0],
                  c.camera->position[2], scene.radius);
    }
  }
}

}  // namespace rig
