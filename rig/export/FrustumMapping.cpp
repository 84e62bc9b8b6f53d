#include "rig/export/FrustumMapping.h"

#include <cmath>

namespace rig {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

double Dot(const double a[3], double x, double y, double z) { return a[0] * x + a[1] * y + a[2] * z; }

}  // namespace

FormatFrustum ToFormatFrustum(const Frustum& f) {
  // The axes map as the header says, so the numbers carry over unchanged.
  return {f.yaw, f.pitch, f.roll, f.left, f.right, f.down, f.up};
}

FrustumMapping::FrustumMapping(D3DXVECTOR3 eye, const Frustum& f) : eye_(eye) {
  const double yaw = f.yaw * kRadiansPerDegree, pitch = f.pitch * kRadiansPerDegree;
  // The same view frame as the frustum was framed in: right stays horizontal
  // (the eye is never rolled), up is perpendicular to forward and right.
  const double forward[3] = {std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                             std::cos(yaw) * std::cos(pitch)};
  const double right[3] = {std::cos(yaw), 0.0, -std::sin(yaw)};
  const double up[3] = {-std::sin(yaw) * std::sin(pitch), std::cos(pitch),
                        -std::cos(yaw) * std::sin(pitch)};
  for (int i = 0; i < 3; ++i) {
    forward_[i] = forward[i];
    right_[i] = right[i];
    up_[i] = up[i];
  }
  tanLeft_ = std::tan(f.left * kRadiansPerDegree);
  tanDown_ = std::tan(f.down * kRadiansPerDegree);
  tanWidth_ = std::tan(f.right * kRadiansPerDegree) - tanLeft_;
  tanHeight_ = std::tan(f.up * kRadiansPerDegree) - tanDown_;
}

bool FrustumMapping::Normalised(D3DXVECTOR3 p, float& u, float& v) const {
  const double dx = double(p.x) - eye_.x, dy = double(p.y) - eye_.y, dz = double(p.z) - eye_.z;
  const double z = Dot(forward_, dx, dy, dz);
  if (!(z > 0.0)) return false;
  const double x = Dot(right_, dx, dy, dz), y = Dot(up_, dx, dy, dz);
  u = static_cast<float>((x / z - tanLeft_) / tanWidth_);
  v = static_cast<float>((y / z - tanDown_) / tanHeight_);
  return true;
}

D3DXVECTOR3 FrustumMapping::Direction(float u, float v) const {
  const double x = tanLeft_ + u * tanWidth_, y = tanDown_ + v * tanHeight_;
  double d[3];
  for (int i = 0; i < 3; ++i) d[i] = forward_[i] + x * right_[i] + y * up_[i];
  const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  return D3DXVECTOR3(static_cast<float>(d[0] / n), static_cast<float>(d[1] / n),
                     static_cast<float>(d[2] / n));
}

}  // namespace rig
