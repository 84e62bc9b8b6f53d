#include "rig/analyses/Frustum.h"

#include <algorithm>
#include <cmath>

#include "rig/analyses/Degrees.h"

namespace rig {
namespace {

struct Direction {
  double x, y, z;
};

Direction Between(D3DXVECTOR3 from, D3DXVECTOR3 to) {
  return {double(to.x) - from.x, double(to.y) - from.y, double(to.z) - from.z};
}

void SetDirection(Frustum& f, const Direction& d) {
  f.yaw = static_cast<float>(DegreesOf(std::atan2(d.x, d.z)));
  f.pitch = static_cast<float>(DegreesOf(std::atan2(d.y, std::hypot(d.x, d.z))));
  f.roll = 0.0f;
}

}  // namespace

Frustum SymmetricFrustum(D3DXVECTOR3 eye, D3DXVECTOR3 lookAt, D3DXVECTOR3 fieldOfView) {
  Frustum f;
  SetDirection(f, Between(eye, lookAt));
  f.right = fieldOfView.x * 0.5f;
  f.left = -f.right;
  f.up = fieldOfView.y * 0.5f;
  f.down = -f.up;
  return f;
}

Frustum FrustumAround(D3DXVECTOR3 eye, D3DXVECTOR3 aim, const std::vector<D3DXVECTOR3>& points) {
  Frustum f;
  SetDirection(f, Between(eye, aim));
  const double yaw = RadiansOf(f.yaw), pitch = RadiansOf(f.pitch);
  // View frame: forward from yaw and pitch, right horizontal (facing +Z it
  // is +X), up perpendicular to both.
  const Direction forward{std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                          std::cos(yaw) * std::cos(pitch)};
  const Direction right{std::cos(yaw), 0.0, -std::sin(yaw)};
  const Direction up{-std::sin(yaw) * std::sin(pitch), std::cos(pitch),
                     -std::cos(yaw) * std::sin(pitch)};
  double lo = INFINITY, hi = -INFINITY, down = INFINITY, top = -INFINITY;
  for (const D3DXVECTOR3& p : points) {
    const Direction d = Between(eye, p);
    const double z = d.x * forward.x + d.y * forward.y + d.z * forward.z;
    const double x = d.x * right.x + d.y * right.y + d.z * right.z;
    const double y = d.x * up.x + d.y * up.y + d.z * up.z;
    if (!(z > 0.0)) {
      f.holdsAll = false;
      continue;
    }
    lo = std::min(lo, std::atan2(x, z));
    hi = std::max(hi, std::atan2(x, z));
    down = std::min(down, std::atan2(y, z));
    top = std::max(top, std::atan2(y, z));
  }
  if (points.empty()) f.holdsAll = false;
  f.left = static_cast<float>(DegreesOf(lo));
  f.right = static_cast<float>(DegreesOf(hi));
  f.down = static_cast<float>(DegreesOf(down));
  f.up = static_cast<float>(DegreesOf(top));
  return f;
}

}  // namespace rig
