#include "command/ProjectorPose.h"

#include <cmath>

namespace {

// The single-precision value of pi, held in a double.
constexpr double kPi = 3.1415927410125732;

// Degrees to radians: the product and quotient are formed in double and the
// result rounded once to float.
float Radians(float degrees) {
  return static_cast<float>(static_cast<double>(degrees) * kPi / 180.0);
}

// The screen point at `angleDegrees` and `height` on the cylinder of
// `radius`: (sin a * R, height, cos a * R), sine and cosine of the float
// radian value.
D3DXVECTOR3 ScreenPoint(float angleDegrees, float height, float radius) {
  const float angle = Radians(angleDegrees);
  const float sinAngle = std::sin(angle);
  const float cosAngle = std::cos(angle);
  return D3DXVECTOR3(sinAngle * radius, height, cosAngle * radius);
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
  D3DXVECTOR3 normal(0.0f - lookAt.x, lookAtHeight - lookAtHeight,
                     0.0f - lookAt.z);
  D3DXVec3Normalize(&normal, &normal);

  // Tangent c = n x (0, 1, 0), every product of the cross product kept so
  // that signed zeros come out as they do in the full formula.
  const D3DXVECTOR3 tangent(normal.y * 0.0f - normal.z,
                            normal.z * 0.0f - normal.x * 0.0f,
                            normal.x - normal.y * 0.0f);

  // Horizontal split of the distance along n (A) and c (B).
  const float alpha = Radians(projectionAngleX);
  const float alongNormal = std::cos(alpha) * distance;
  const float alongTangent = std::sin(alpha) * distance;

  // Vertical split: rise S, and the factor K that tilts the horizontal part.
  const float beta = Radians(projectionAngleY);
  const float rise = std::sin(beta) * distance;
  const float tilt = std::cos(beta);

  // Horizontal offset H = n A + c B, then tilted: H = H K.
  D3DXVECTOR3 horizontal(normal.x * alongNormal + tangent.x * alongTangent,
                         normal.y * alongNormal + tangent.y * alongTangent,
                         normal.z * alongNormal + tangent.z * alongTangent);
  horizontal = D3DXVECTOR3(horizontal.x * tilt, horizontal.y * tilt,
                           horizontal.z * tilt);

  // Vertical offset V = (0 S, S, 0 S).
  const D3DXVECTOR3 vertical(0.0f * rise, rise, 0.0f * rise);

  // Position = (L + H) + V, in that order of addition.
  const D3DXVECTOR3 position((lookAt.x + horizontal.x) + vertical.x,
                             (lookAt.y + horizontal.y) + vertical.y,
                             (lookAt.z + horizontal.z) + vertical.z);

  // Camera aim point, by the same rule as L.
  const D3DXVECTOR3 camera =
      ScreenPoint(cameraLookAtAngle, cameraLookAtHeight, cylinderRadius);

  projectorPosition = position;
  projectorLookAt = lookAt;
  cameraLookAt = camera;
}
