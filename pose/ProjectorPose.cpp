#include "pose/ProjectorPose.h"

#include <cmath>

#include "numeric/FloatRounding.h"
#include "numeric/SinglePrecisionAngles.h"

namespace {

// The screen point at `angleDegrees` and `height` on the cylinder of
// `radius`: (sin a * R, height, cos a * R), sine and cosine of the float
// radian value.
D3DXVECTOR3 ScreenPoint(float angleDegrees, float height, float radius) {
  const float angle = SinglePrecisionRadians(angleDegrees);
  const float sinAngle = RoundToFloat(std::sin(angle));
  const float cosAngle = RoundToFloat(std::cos(angle));
  return D3DXVECTOR3(RoundToFloat(sinAngle * radius), height,
                     RoundToFloat(cosAngle * radius));
}

}  // namespace

void GetProjectorPose(float lookAtAngle, float lookAtHeight,
                      float projectionAngleX, float projectionAngleY,
                      float distance, float cameraLookAtAngle,
                      float cameraLookAtHeight, float cylinderRadius,
                      D3DXVECTOR3& projectorPosition,
                      D3DXVECTOR3& projectorLookAt, D3DXVECTOR3& cameraLookAt) {
  // Aim point L on the screen.
  const D3DXVECTOR3 lookAt =
      ScreenPoint(lookAtAngle, lookAtHeight, cylinderRadius);

  // Inward normal n: from L horizontally to the axis, normalised in place.
  // The height difference is written out (h - h) rather than taken as 0 so
  // that a non-finite height propagates as it would through the subtraction.
  D3DXVECTOR3 normal(RoundToFloat(0.0f - lookAt.x),
                     RoundToFloat(lookAtHeight - lookAtHeight),
                     RoundToFloat(0.0f - lookAt.z));
  D3DXVec3Normalize(&normal, &normal);

  // Tangent c = n x (0, 1, 0), every product of the cross product kept so
  // that signed zeros come out as they do in the full formula.
  const D3DXVECTOR3 tangent(
      RoundToFloat(RoundToFloat(normal.y * 0.0f) - normal.z),
      RoundToFloat(RoundToFloat(normal.z * 0.0f) - RoundToFloat(normal.x * 0.0f)),
      RoundToFloat(normal.x - RoundToFloat(normal.y * 0.0f)));

  // Horizontal split of the distance along n (A) and c (B).
  const float alpha = SinglePrecisionRadians(projectionAngleX);
  const float alongNormal = RoundToFloat(RoundToFloat(std::cos(alpha)) * distance);
  const float alongTangent = RoundToFloat(RoundToFloat(std::sin(alpha)) * distance);

  // Vertical split: rise S, and the factor K that tilts the horizontal part.
  const float beta = SinglePrecisionRadians(projectionAngleY);
  const float rise = RoundToFloat(RoundToFloat(std::sin(beta)) * distance);
  const float tilt = RoundToFloat(std::cos(beta));

  // Horizontal offset H = n A + c B, then tilted: H = H K.
  // (Each component p q + r s: both products rounded, then their sum.)
  const auto sumOfProducts = [](float p, float q, float r, float s) {
    return RoundToFloat(RoundToFloat(p * q) + RoundToFloat(r * s));
  };
  D3DXVECTOR3 horizontal(
      sumOfProducts(normal.x, alongNormal, tangent.x, alongTangent),
      sumOfProducts(normal.y, alongNormal, tangent.y, alongTangent),
      sumOfProducts(normal.z, alongNormal, tangent.z, alongTangent));
  horizontal = D3DXVECTOR3(RoundToFloat(horizontal.x * tilt),
                           RoundToFloat(horizontal.y * tilt),
                           RoundToFloat(horizontal.z * tilt));

  // Vertical offset V = (0 S, S, 0 S).
  const D3DXVECTOR3 vertical(RoundToFloat(0.0f * rise), rise,
                             RoundToFloat(0.0f * rise));

  // Position = (L + H) + V, in that order of addition.
  const D3DXVECTOR3 position(
      RoundToFloat(RoundToFloat(lookAt.x + horizontal.x) + vertical.x),
      RoundToFloat(RoundToFloat(lookAt.y + horizontal.y) + vertical.y),
      RoundToFloat(RoundToFloat(lookAt.z + horizontal.z) + vertical.z));

  // Camera aim point, by the same rule as L.
  const D3DXVECTOR3 camera =
      ScreenPoint(cameraLookAtAngle, cameraLookAtHeight, cylinderRadius);

  projectorPosition = position;
  projectorLookAt = lookAt;
  cameraLookAt = camera;
}
