#include "command/EyeViewAngles.h"

#include <cmath>
#include <limits>

#include "numeric/FloatRounding.h"

namespace eye_view {
namespace {

// atan in double, rounded once: the correctly rounded float in practice,
// whatever the float arc tangent of the platform would give.
float ArcTangent(float value) {
  return RoundToFloat(RoundToDouble(std::atan(static_cast<double>(value))));
}

// Moves one component's bounds for one entry; dlo and dhi are taken before.
void MoveBounds(float value, float dlo, float dhi, float& lower, float& upper) {
  if (std::fabs(dhi) >= std::fabs(dlo) && dlo < 0.0f) lower = value;
  if (std::fabs(dlo) >= std::fabs(dhi) && dhi > 0.0f) upper = value;
}

}  // namespace

float WrapAngleDifference(float from, float to) {
  float d = RoundToFloat(to - from);
  if (d < -kPi) d = RoundToFloat(d + kTwoPi);
  if (d > kPi) d = RoundToFloat(d - kTwoPi);
  return d;
}

std::vector<D3DXVECTOR2> CalcViewAngles(D3DXVECTOR3 camera,
                                        const std::vector<D3DXVECTOR3>& points) {
  std::vector<D3DXVECTOR2> angles;
  angles.reserve(points.size());
  for (const D3DXVECTOR3& q : points) {
    const float dx = RoundToFloat(q.x - camera.x);
    const float dy = RoundToFloat(q.y - camera.y);
    const float dz = RoundToFloat(q.z - camera.z);
    float azimuth = ArcTangent(RoundToFloat(dx / dz));
    if (dz < 0.0f) azimuth = RoundToFloat(azimuth + kPi);
    if (azimuth < 0.0f) azimuth = RoundToFloat(azimuth + kTwoPi);
    const float horizontal = RoundToFloat(
        std::sqrt(RoundToFloat(RoundToFloat(dx * dx) + RoundToFloat(dz * dz))));
    const float elevation = ArcTangent(RoundToFloat(dy / horizontal));
    angles.emplace_back(azimuth, elevation);
  }
  return angles;
}

void FindAngularBounds(const std::vector<D3DXVECTOR2>& angles, D3DXVECTOR2& lower,
                       D3DXVECTOR2& upper) {
  if (angles.empty()) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    lower = upper = D3DXVECTOR2(nan, nan);
    return;
  }
  D3DXVECTOR2 lo = angles[0];
  D3DXVECTOR2 hi = angles[0];
  for (std::size_t i = 1; i < angles.size(); ++i) {
    const D3DXVECTOR2 a = angles[i];
    const float dloX = WrapAngleDifference(lo.x, a.x);
    const float dhiX = WrapAngleDifference(hi.x, a.x);
    const float dloY = WrapAngleDifference(lo.y, a.y);
    const float dhiY = WrapAngleDifference(hi.y, a.y);
    MoveBounds(a.x, dloX, dhiX, lo.x, hi.x);
    MoveBounds(a.y, dloY, dhiY, lo.y, hi.y);
  }
  lower = lo;
  upper = hi;
}

float CentralAzimuth(float lower, float upper) {
  float m = RoundToFloat(RoundToFloat(lower + upper) * 0.5f);
  if (RoundToFloat(std::fabs(WrapAngleDifference(m, lower)) +
                   std::fabs(WrapAngleDifference(m, upper))) > kPi) {
    m = RoundToFloat(m + kPi);
  }
  if (m < 0.0f) m = RoundToFloat(m + kTwoPi);
  if (m > kTwoPi) m = RoundToFloat(m - kTwoPi);
  return m;
}

D3DXVECTOR3 GetDirectionFromAngles(float azimuth, float elevation) {
  D3DXMATRIX rotation;
  D3DXMatrixRotationYawPitchRoll(&rotation, azimuth, -elevation, 0.0f);
  return D3DXVECTOR3(rotation._31, rotation._32, rotation._33);
}

std::vector<D3DXVECTOR3> ProjectPointsOntoPlane(D3DXVECTOR3 origin, D3DXVECTOR3 normal,
                                                const std::vector<D3DXVECTOR3>& points) {
  std::vector<D3DXVECTOR3> projected;
  projected.reserve(points.size());
  for (const D3DXVECTOR3& q : points) {
    // ((x + y) + z), each difference, product and sum rounded.
    const float s = RoundToFloat(
        RoundToFloat(RoundToFloat(RoundToFloat(q.x - origin.x) * normal.x) +
                     RoundToFloat(RoundToFloat(q.y - origin.y) * normal.y)) +
        RoundToFloat(RoundToFloat(q.z - origin.z) * normal.z));
    projected.emplace_back(RoundToFloat(q.x - RoundToFloat(normal.x * s)),
                           RoundToFloat(q.y - RoundToFloat(normal.y * s)),
                           RoundToFloat(q.z - RoundToFloat(normal.z * s)));
  }
  return projected;
}

}  // namespace eye_view
