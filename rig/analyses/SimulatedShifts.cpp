#include "rig/analyses/SimulatedShifts.h"

#include "host/vistrel/Oru_Vistrel.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace rig {
namespace {

// Projector image point `uv` in the camera image (or, with toCamera false,
// the reverse), the camera aiming at its aim point as the conversion names it.
D3DXVECTOR2 Map(const Scene& s, const ProjectorParameters& p, D3DXVECTOR2 uv, bool toCamera) {
  D3DXVECTOR3 position, lookAt, cameraLookAt;
  GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                   p.ProjDist, s.camera.aimAngle, s.camera.aimHeight, s.radius, position, lookAt,
                   cameraLookAt);
  const D3DXVECTOR3 camera(s.camera.position[0], s.camera.position[1], s.camera.position[2]);
  const auto map = toCamera ? Oru_Vistrel::ProjUV2CamUV : Oru_Vistrel::CamUV2ProjUV;
  return map(uv, position, lookAt, camera, cameraLookAt, D3DXVECTOR3(p.ProjFovX, p.ProjFovY, 0.0f),
             D3DXVECTOR3(s.camera.fovX, s.camera.fovY, 0.0f), s.radius, p.ProjKeystone, p.ProjRoll);
}

}  // namespace

std::array<std::array<float, 2>, kCalibrationPointCount> SimulateShifts(const Scene& scene,
                                                  const ProjectorParameters& assumed,
                                                  const ProjectorParameters& truth) {
  std::array<std::array<float, 2>, kCalibrationPointCount> shifts{};
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    const D3DXVECTOR2 lit = Map(scene, assumed, Map(scene, truth, grid, true), false);
    shifts[i] = {lit.x - grid.x, lit.y - grid.y};
  }
  return shifts;
}

}  // namespace rig
