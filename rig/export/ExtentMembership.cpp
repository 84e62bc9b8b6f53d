#include "rig/export/ExtentMembership.h"

#include <cmath>

namespace rig {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// `angle` turned into [0, 360).
float Turned(float angle) {
  float a = std::fmod(angle, 360.0f);
  if (a < 0.0f) a += 360.0f;
  return a >= 360.0f ? 0.0f : a;
}

}  // namespace

ExtentMembership::ExtentMembership(const ScreenExtent& extent) {
  if (extent.angles) {
    const float from = (*extent.angles)[0], to = (*extent.angles)[1];
    const float span = Turned(to - from);
    // `to` equal to `from`, or a whole turn past it: the whole circle.
    if (span > 0.0f) {
      allAngles_ = false;
      from_ = Turned(from);
      span_ = span;
    }
  }
  if (extent.heights) {
    allHeights_ = false;
    bottom_ = (*extent.heights)[0];
    top_ = (*extent.heights)[1];
  }
}

bool ExtentMembership::ContainsAngle(float angle) const {
  if (allAngles_) return std::isfinite(angle);
  return Turned(angle - from_) <= span_;
}

bool ExtentMembership::ContainsHeight(float height) const {
  if (allHeights_) return std::isfinite(height);
  return height >= bottom_ && height <= top_;
}

float ScreenAngleOf(D3DXVECTOR3 point) {
  return static_cast<float>(std::atan2(double(point.x), double(point.z)) * kDegreesPerRadian);
}

}  // namespace rig
