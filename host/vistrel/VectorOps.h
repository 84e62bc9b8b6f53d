// Arithmetic on the D3DX vector types, which carry no operators of their own,
// for the projection math library. Frame-free; every operation works in
// 32-bit floats and rounds each product and sum as written (RoundToFloat).
#pragma once

#include <cmath>
#include <limits>

#include "host/d3dx/D3DXMath.h"
#include "numeric/FloatRounding.h"

namespace vistrel {

inline D3DXVECTOR3 Add(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return D3DXVECTOR3(RoundToFloat(a.x + b.x), RoundToFloat(a.y + b.y),
                     RoundToFloat(a.z + b.z));
}

inline D3DXVECTOR3 Subtract(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return D3DXVECTOR3(RoundToFloat(a.x - b.x), RoundToFloat(a.y - b.y),
                     RoundToFloat(a.z - b.z));
}

inline D3DXVECTOR3 Scale(D3DXVECTOR3 a, float s) {
  return D3DXVECTOR3(RoundToFloat(a.x * s), RoundToFloat(a.y * s),
                     RoundToFloat(a.z * s));
}

// Summed left to right: (x + y) + z.
inline float Dot(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return RoundToFloat(RoundToFloat(RoundToFloat(a.x * b.x) +
                                   RoundToFloat(a.y * b.y)) +
                      RoundToFloat(a.z * b.z));
}

inline D3DXVECTOR3 Cross(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return D3DXVECTOR3(
      RoundToFloat(RoundToFloat(a.y * b.z) - RoundToFloat(a.z * b.y)),
      RoundToFloat(RoundToFloat(a.z * b.x) - RoundToFloat(a.x * b.z)),
      RoundToFloat(RoundToFloat(a.x * b.y) - RoundToFloat(a.y * b.x)));
}

inline bool IsFinite(D3DXVECTOR3 a) {
  return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

// The library's "no point" value: every component a quiet NaN.
inline D3DXVECTOR3 NaNVector3() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  return D3DXVECTOR3(nan, nan, nan);
}

inline D3DXVECTOR2 NaNVector2() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  return D3DXVECTOR2(nan, nan);
}

// Writes the unit vector along v to *unit and returns true; returns false
// and leaves *unit alone when v is zero or has a component that is not
// finite. v is first divided by its largest absolute component, so that
// neither tiny nor huge vectors under- or overflow when squared. Unlike
// D3DXVec3Normalize, the caller learns that there was no direction.
inline bool TryNormalize(D3DXVECTOR3 v, D3DXVECTOR3* unit) {
  if (!IsFinite(v)) return false;
  const float ax = std::fabs(v.x);
  const float ay = std::fabs(v.y);
  const float az = std::fabs(v.z);
  const float largest = ax > ay ? (ax > az ? ax : az) : (ay > az ? ay : az);
  if (largest == 0.0f) return false;
  // Divided, not multiplied by a reciprocal: 1 / largest overflows for
  // subnormal components.
  const D3DXVECTOR3 scaled(RoundToFloat(v.x / largest),
                           RoundToFloat(v.y / largest),
                           RoundToFloat(v.z / largest));
  const float length = RoundToFloat(std::sqrt(Dot(scaled, scaled)));
  *unit = D3DXVECTOR3(RoundToFloat(scaled.x / length),
                      RoundToFloat(scaled.y / length),
                      RoundToFloat(scaled.z / length));
  return true;
}

}  // namespace vistrel
