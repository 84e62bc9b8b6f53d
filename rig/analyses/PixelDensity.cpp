#include "rig/analyses/PixelDensity.h"

#include <algorithm>
#include <cmath>

#include "host/vistrel/Oru_Vistrel.h"

namespace rig {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// Image fraction of one difference step: a pixel is too small a step for
// float scene points (its few millimetres drown in their rounding), so the
// figures are taken over this many image widths and divided by the pixels
// it holds; the image's bending over such a step is far below a percent.
constexpr float kStep = 1.0f / 64.0f;

struct Vec {
  double x, y, z;
};
Vec Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {double(a.x) - b.x, double(a.y) - b.y, double(a.z) - b.z}; }
double Length(const Vec& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
// The angle between the directions to a and b, degrees.
double AngleBetween(const Vec& a, const Vec& b) {
  const Vec c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return std::atan2(Length(c), a.x * b.x + a.y * b.y + a.z * b.z) * kDegreesPerRadian;
}

}  // namespace

PixelDensity PixelDensityOf(const ProjectorLens& lens, float radius, std::array<int, 2> resolution,
                            D3DXVECTOR3 eye) {
  PixelDensity d;
  const int n = kDensitySamplesPerAxis;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const float u = static_cast<float>(column) / (n - 1), v = static_cast<float>(row) / (n - 1);
      // Step toward the image's inside, so that every step stays on the image.
      const float du = u + kStep <= 1.0f ? kStep : -kStep, dv = v + kStep <= 1.0f ? kStep : -kStep;
      const D3DXVECTOR3 p = ScreenPointOfImage(lens, radius, u, v);
      const D3DXVECTOR3 across = ScreenPointOfImage(lens, radius, u + du, v);
      const D3DXVECTOR3 down = ScreenPointOfImage(lens, radius, u, v + dv);
      if (Oru_Vistrel::IsMiss(p) || Oru_Vistrel::IsMiss(across) || Oru_Vistrel::IsMiss(down)) continue;
      const double pixelsAcross = kStep * resolution[0], pixelsDown = kStep * resolution[1];
      const double size = std::max(Length(Minus(across, p)) / pixelsAcross, Length(Minus(down, p)) / pixelsDown);
      const Vec toP = Minus(p, eye);
      const double angle = std::max(AngleBetween(toP, Minus(across, eye)) / pixelsAcross,
                                    AngleBetween(toP, Minus(down, eye)) / pixelsDown);
      if (!(angle > 0)) continue;
      const float density = static_cast<float>(1.0 / angle);
      const UnrolledPoint where = Unroll(p, 0.0f);
      if (d.samples == 0 || density < d.minPixelsPerDegree) {
        d.minPixelsPerDegree = density;
        d.whereLowest = where;
      }
      if (d.samples == 0 || density > d.maxPixelsPerDegree) {
        d.maxPixelsPerDegree = density;
        d.whereHighest = where;
      }
      const float pixel = static_cast<float>(size);
      d.minPixelSize = d.samples == 0 ? pixel : std::min(d.minPixelSize, pixel);
      d.maxPixelSize = d.samples == 0 ? pixel : std::max(d.maxPixelSize, pixel);
      ++d.samples;
    }
  }
  return d;
}

}  // namespace rig
