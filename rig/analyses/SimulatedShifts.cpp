#include "rig/analyses/SimulatedShifts.h"

#include "rig/analyses/CameraMarkers.h"

namespace rig {

std::array<std::array<float, 2>, kCalibrationPointCount> SimulateShifts(const Scene& scene,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth) {
  return SimulateShifts(scene, scene.camera, assumed, truth);
}

std::array<std::array<float, 2>, 8> SimulateShifts(const Scene& scene, const Camera& camera,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth) {
  const CameraView view = ViewOf(scene, camera);
  return ShiftsOf(ConvertMarkers(scene, view, assumed, MarkersOf(scene, view, truth)));
}

}  // namespace rig
