#include "rig/analyses/CameraView.h"

#include "host/vistrel/Oru_Vistrel.h"

namespace rig {
namespace {

D3DXVECTOR3 Vector(const std::array<float, 3>& v) { return D3DXVECTOR3(v[0], v[1], v[2]); }

ProjectorPose PoseOf(const Scene& s, const CameraView& camera, const ProjectorParameters& p) {
  ProjectorPose pose{};
  float aimAngle = 0.0f, aimHeight = 0.0f;
  GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                   p.ProjDist, aimAngle, aimHeight, s.radius, pose.projectorPosition,
                   pose.projectorLookAt, pose.cameraLookAt);
  pose.cameraLookAt = camera.lookAt;
  return pose;
}

}  // namespace

CameraView ViewOf(const Scene& scene, const Camera& camera) {
  ProjectorPose pose{};
  // The projector part of the pose plays no role in the camera's aim point.
  GetProjectorPose(0.0f, 0.0f, 0.0f, 0.0f, 1.0f, camera.aimAngle, camera.aimHeight, scene.radius,
                   pose.projectorPosition, pose.projectorLookAt, pose.cameraLookAt);
  return {Vector(camera.position), pose.cameraLookAt,
          D3DXVECTOR3(camera.fovX, camera.fovY, 0.0f), camera.imageSize};
}

namespace {

// The library's two mappings between the images take the same arguments.
using ImageMapping = D3DXVECTOR2 (*)(D3DXVECTOR2, D3DXVECTOR3, D3DXVECTOR3, D3DXVECTOR3, D3DXVECTOR3, D3DXVECTOR3,
                                     D3DXVECTOR3, float, float, float);

D3DXVECTOR2 MapBetweenImages(ImageMapping mapping, const Scene& s, const CameraView& c,
                             const ProjectorParameters& p, D3DXVECTOR2 uv) {
  const ProjectorPose pose = PoseOf(s, c, p);
  return mapping(uv, pose.projectorPosition, pose.projectorLookAt, c.position, c.lookAt,
                 D3DXVECTOR3(p.ProjFovX, p.ProjFovY, 0.0f), c.fieldOfView, s.radius, p.ProjKeystone, p.ProjRoll);
}

}  // namespace

D3DXVECTOR2 ProjectorToCamera(const Scene& s, const CameraView& c, const ProjectorParameters& p,
                              D3DXVECTOR2 uv) {
  return MapBetweenImages(&Oru_Vistrel::ProjUV2CamUV, s, c, p, uv);
}

D3DXVECTOR2 CameraToProjector(const Scene& s, const CameraView& c, const ProjectorParameters& p,
                              D3DXVECTOR2 uv) {
  return MapBetweenImages(&Oru_Vistrel::CamUV2ProjUV, s, c, p, uv);
}

}  // namespace rig
