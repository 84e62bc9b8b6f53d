#include "rig/analyses/ScreenTrace.h"

#include <cmath>

#include "rig/analyses/Degrees.h"

#include "pose/ScreenPoint.h"
#include "host/vistrel/Oru_Vistrel.h"

namespace rig {

D3DXVECTOR3 ScreenPointOfImage(const ProjectorLens& lens, float radius, float u, float v) {
  const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
      lens.position, lens.lookAt, u, v, lens.fovX, lens.fovY, lens.keystone, lens.roll);
  return Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, lens.position, ray);
}

std::vector<D3DXVECTOR3> TraceImageBorder(const ProjectorLens& lens, float radius,
                                          int pointsPerEdge) {
  const int n = pointsPerEdge < 1 ? 1 : pointsPerEdge;
  // Each edge from its first corner, the next corner being the next edge's start.
  const float corners[5][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  std::vector<D3DXVECTOR3> out;
  for (int edge = 0; edge < 4; ++edge) {
    for (int i = 0; i < n; ++i) {
      const float t = static_cast<float>(i) / static_cast<float>(n);
      const float u = corners[edge][0] + (corners[edge + 1][0] - corners[edge][0]) * t;
      const float v = corners[edge][1] + (corners[edge + 1][1] - corners[edge][1]) * t;
      const D3DXVECTOR3 p = ScreenPointOfImage(lens, radius, u, v);
      if (!Oru_Vistrel::IsMiss(p)) out.push_back(p);
    }
  }
  return out;
}

D3DXVECTOR3 ScreenPointSeenFrom(D3DXVECTOR3 eye, float radius, float azimuth, float elevation) {
  const double az = RadiansOf(azimuth), el = RadiansOf(elevation);
  const D3DXVECTOR3 direction(static_cast<float>(std::sin(az) * std::cos(el)),
                              static_cast<float>(std::sin(el)),
                              static_cast<float>(std::cos(az) * std::cos(el)));
  return Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, eye, direction);
}

UnrolledPoint Unroll(D3DXVECTOR3 point, float reference) {
  const ScreenAngleAndHeight s = ScreenPointOf(point);
  float angle = s.angle;
  if (angle - reference > 180.0f) angle -= 360.0f;
  if (angle - reference < -180.0f) angle += 360.0f;
  return {angle, s.height};
}

std::vector<UnrolledPoint> UnrollOutline(const std::vector<D3DXVECTOR3>& points, float reference) {
  std::vector<UnrolledPoint> out;
  float previous = reference, lo = INFINITY, hi = -INFINITY;
  for (const D3DXVECTOR3& p : points) {
    out.push_back(Unroll(p, previous));
    previous = out.back().angle;
    lo = std::fmin(lo, previous);
    hi = std::fmax(hi, previous);
  }
  const float middle = (lo + hi) * 0.5f;
  const float turn = middle - reference > 180.0f ? -360.0f : middle - reference < -180.0f ? 360.0f : 0.0f;
  for (UnrolledPoint& u : out) u.angle += turn;
  return out;
}

}  // namespace rig

namespace rig {

ProjectorLens LensOf(const ProjectorParameters& p, float radius) {
  ProjectorLens lens{};
  D3DXVECTOR3 unusedCameraLookAt;
  GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                   p.ProjDist, 0.0f, 0.0f, radius, lens.position, lens.lookAt, unusedCameraLookAt);
  lens.fovX = p.ProjFovX;
  lens.fovY = p.ProjFovY;
  lens.keystone = p.ProjKeystone;
  lens.roll = p.ProjRoll;
  return lens;
}

}  // namespace rig
