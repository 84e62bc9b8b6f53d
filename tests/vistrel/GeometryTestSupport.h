// Measurements for the projection math tests: lengths and angles between
// scene-frame vectors, taken in double precision so that the checks add no
// float rounding of their own. Angles in degrees, as at the library.
#pragma once

#include <cmath>

#include "host/d3dx/D3DXMath.h"

namespace vistrel_test {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x, y, z;
};

inline Vec ToVec(D3DXVECTOR3 v) { return {v.x, v.y, v.z}; }
inline Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double DotOf(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec CrossOf(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double LengthOf(Vec a) { return std::sqrt(DotOf(a, a)); }

inline double DistanceBetween(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return LengthOf(Minus(ToVec(a), ToVec(b)));
}

inline double DegreesBetween(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  const Vec va = ToVec(a), vb = ToVec(b);
  return std::atan2(LengthOf(CrossOf(va, vb)), DotOf(va, vb)) * 180.0 / kPi;
}

// Signed angle by which the part of `from` across `axis` turns into the part
// of `to` across it: positive when from x to points along axis. For a lens,
// right x up points along forward, so a turn from right toward up is
// positive about the forward axis.
inline double DegreesTurnedAbout(D3DXVECTOR3 axis, D3DXVECTOR3 from, D3DXVECTOR3 to) {
  const Vec n = ToVec(axis);
  const double nn = DotOf(n, n);
  const Vec f = ToVec(from), t = ToVec(to);
  const double fs = DotOf(f, n) / nn, ts = DotOf(t, n) / nn;
  const Vec fp = {f.x - n.x * fs, f.y - n.y * fs, f.z - n.z * fs};
  const Vec tp = {t.x - n.x * ts, t.y - n.y * ts, t.z - n.z * ts};
  const double sine = DotOf(CrossOf(fp, tp), n) / std::sqrt(nn);
  return std::atan2(sine, DotOf(fp, tp)) * 180.0 / kPi;
}

// Point of the screen at `degrees` of screen angle and height `y`.
inline D3DXVECTOR3 ScreenPoint(float radius, float degrees, float y) {
  const double a = degrees * kPi / 180.0;
  return D3DXVECTOR3(float(radius * std::sin(a)), y, float(radius * std::cos(a)));
}

inline double DistanceFromAxis(D3DXVECTOR3 p) {
  return std::sqrt(double(p.x) * p.x + double(p.z) * p.z);
}

}  // namespace vistrel_test
