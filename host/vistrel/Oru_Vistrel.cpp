#include "host/vistrel/Oru_Vistrel.h"

#include <cmath>

#include "host/vistrel/LensFrame.h"
#include "host/vistrel/VectorOps.h"
#include "numeric/FloatRounding.h"

using vistrel::LensFrame;

D3DXVECTOR3 Oru_Vistrel::GetRayFromScreenCoordinates(
    D3DXVECTOR3 position, D3DXVECTOR3 lookAt, float u, float v, float fovX,
    float fovY, float keystone, float roll) {
  return LensFrame(position, lookAt, fovX, fovY, keystone, roll)
      .RayThrough(u, v);
}

D3DXVECTOR3 Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(
    float radius, D3DXVECTOR3 origin, D3DXVECTOR3 direction) {
  const float r = std::fabs(radius);
  D3DXVECTOR3 d;
  if (!(r > 0.0f) || !std::isfinite(r) || !vistrel::IsFinite(origin) ||
      !vistrel::TryNormalize(direction, &d)) {
    return vistrel::NaNVector3();
  }
  // With d of unit length, (o + t d) lies on the cylinder when
  //   a t^2 + 2 h t + c = 0,  a = dx^2 + dz^2,  h = ox dx + oz dz,
  //   c = ox^2 + oz^2 - r^2  (c < 0 inside, c > 0 outside).
  const float a = RoundToFloat(RoundToFloat(d.x * d.x) + RoundToFloat(d.z * d.z));
  const float h = RoundToFloat(RoundToFloat(origin.x * d.x) +
                               RoundToFloat(origin.z * d.z));
  const float c = RoundToFloat(
      RoundToFloat(RoundToFloat(origin.x * origin.x) +
                   RoundToFloat(origin.z * origin.z)) -
      RoundToFloat(r * r));
  if (!(a > 0.0f)) return vistrel::NaNVector3();  // parallel to the axis
  const float discriminant =
      RoundToFloat(RoundToFloat(h * h) - RoundToFloat(a * c));
  // Negative: the ray's line passes the cylinder by. NaN: squares overflowed.
  if (!(discriminant >= 0.0f)) return vistrel::NaNVector3();
  // Both roots without cancellation: q = -(h + sign(h) sqrt(disc)), roots
  // q / a and c / q. q is 0 only for a tangent ray from a point on the
  // surface; c / q is then NaN and no root is taken.
  const float root = RoundToFloat(std::sqrt(discriminant));
  const float q = h >= 0.0f ? -RoundToFloat(h + root) : RoundToFloat(root - h);
  const float t1 = RoundToFloat(q / a);
  const float t2 = RoundToFloat(c / q);
  const bool ahead1 = t1 > 0.0f;
  const bool ahead2 = t2 > 0.0f;
  if (!ahead1 && !ahead2) return vistrel::NaNVector3();
  const float t = (ahead1 && ahead2) ? (t1 < t2 ? t1 : t2) : (ahead1 ? t1 : t2);
  const D3DXVECTOR3 point = vistrel::Add(origin, vistrel::Scale(d, t));
  if (!vistrel::IsFinite(point)) return vistrel::NaNVector3();
  return point;
}

namespace {

enum class Mapping { kProjectorToCamera, kCameraToProjector };

// Both mappings, for `count` image points: out[i] is the image point at
// which one device sees the screen spot that the other lights (or sees)
// through image point in[i]. The camera has neither keystone nor roll. The
// two lenses depend only on the pose, so they are set up once for all the
// points; each point then costs one ray, one intersection and one
// projection. Each point is read before its result is written, so `in` and
// `out` may be the same array.
void MapThroughScreen(Mapping mapping, const D3DXVECTOR2* in, int count,
                      D3DXVECTOR2* out, D3DXVECTOR3 projectorPosition,
                      D3DXVECTOR3 projectorLookAt, D3DXVECTOR3 cameraPosition,
                      D3DXVECTOR3 cameraLookAt, D3DXVECTOR3 projectorFov,
                      D3DXVECTOR3 cameraFov, float cylinderRadius,
                      float keystone, float roll) {
  if (count <= 0) return;
  const LensFrame projector(projectorPosition, projectorLookAt, projectorFov.x,
                            projectorFov.y, keystone, roll);
  const LensFrame camera(cameraPosition, cameraLookAt, cameraFov.x,
                         cameraFov.y, 0.0f, 0.0f);
  const bool forward = mapping == Mapping::kProjectorToCamera;
  const LensFrame& from = forward ? projector : camera;
  const LensFrame& to = forward ? camera : projector;
  const D3DXVECTOR3 origin = forward ? projectorPosition : cameraPosition;
  for (int i = 0; i < count; ++i) {
    const D3DXVECTOR3 spot = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(
        cylinderRadius, origin, from.RayThrough(in[i].x, in[i].y));
    out[i] = to.ImagePointOf(spot);
  }
}

}  // namespace

D3DXVECTOR2 Oru_Vistrel::ProjUV2CamUV(
    D3DXVECTOR2 projectorUV, D3DXVECTOR3 projectorPosition,
    D3DXVECTOR3 projectorLookAt, D3DXVECTOR3 cameraPosition,
    D3DXVECTOR3 cameraLookAt, D3DXVECTOR3 projectorFov, D3DXVECTOR3 cameraFov,
    float cylinderRadius, float keystone, float roll) {
  D3DXVECTOR2 cameraUV;
  ProjUV2CamUVBatch(&projectorUV, 1, &cameraUV, projectorPosition,
                    projectorLookAt, cameraPosition, cameraLookAt,
                    projectorFov, cameraFov, cylinderRadius, keystone, roll);
  return cameraUV;
}

void Oru_Vistrel::ProjUV2CamUVBatch(
    const D3DXVECTOR2* projectorUV, int count, D3DXVECTOR2* cameraUV,
    D3DXVECTOR3 projectorPosition, D3DXVECTOR3 projectorLookAt,
    D3DXVECTOR3 cameraPosition, D3DXVECTOR3 cameraLookAt,
    D3DXVECTOR3 projectorFov, D3DXVECTOR3 cameraFov, float cylinderRadius,
    float keystone, float roll) {
  MapThroughScreen(Mapping::kProjectorToCamera, projectorUV, count, cameraUV,
                   projectorPosition, projectorLookAt, cameraPosition,
                   cameraLookAt, projectorFov, cameraFov, cylinderRadius,
                   keystone, roll);
}

D3DXVECTOR2 Oru_Vistrel::CamUV2ProjUV(
    D3DXVECTOR2 cameraUV, D3DXVECTOR3 projectorPosition,
    D3DXVECTOR3 projectorLookAt, D3DXVECTOR3 cameraPosition,
    D3DXVECTOR3 cameraLookAt, D3DXVECTOR3 projectorFov, D3DXVECTOR3 cameraFov,
    float cylinderRadius, float keystone, float roll) {
  D3DXVECTOR2 projectorUV;
  MapThroughScreen(Mapping::kCameraToProjector, &cameraUV, 1, &projectorUV,
                   projectorPosition, projectorLookAt, cameraPosition,
                   cameraLookAt, projectorFov, cameraFov, cylinderRadius,
                   keystone, roll);
  return projectorUV;
}

bool Oru_Vistrel::IsMiss(D3DXVECTOR3 point) {
  return !vistrel::IsFinite(point);
}
