#include "rig/export/BlendPreview.h"

#include <algorithm>
#include <cmath>

#include "rig/export/ParallelRows.h"
#include "rig/export/PngWriter.h"

namespace rig {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr int kOutlinePointsPerEdge = 16;
constexpr int kMinHeight = 120, kMaxHeight = 1200;
constexpr std::uint16_t kOutside = 72;  // grey outside the extent

// Eight hues of similar brightness, repeated for more projectors.
constexpr int kPalette[8][3] = {{230, 80, 70},  {70, 160, 230}, {90, 190, 90},  {220, 170, 40},
                                {170, 100, 220}, {40, 190, 180}, {230, 110, 170}, {150, 160, 60}};

// The unrolled window: screen angles lo..hi (unwrapped), heights bottom..top.
struct Window {
  double lo, hi, bottom, top;
};

Window WindowOf(const BlendWeights& blend) {
  const ExtentMembership& extent = blend.Extent();
  Window w{0, 0, INFINITY, -INFINITY};
  const float reference = blend.Count() > 0 ? ScreenAngleOf(blend.Lens(0).lookAt) : 0.0f;
  double lo = INFINITY, hi = -INFINITY;
  for (int k = 0; k < blend.Count(); ++k) {
    for (const UnrolledPoint& p :
         UnrollOutline(TraceImageBorder(blend.Lens(k), blend.Radius(), kOutlinePointsPerEdge), reference)) {
      lo = std::min(lo, double(p.angle));
      hi = std::max(hi, double(p.angle));
      w.bottom = std::min(w.bottom, double(p.height));
      w.top = std::max(w.top, double(p.height));
    }
  }
  if (extent.HasAngles()) {
    lo = extent.From();
    hi = lo + extent.Span();
  } else if (!(hi - lo < 360.0)) {
    lo = reference - 180.0;
    hi = reference + 180.0;
  }
  if (extent.HasHeights()) {
    w.bottom = extent.Bottom();
    w.top = extent.Top();
  }
  if (!(hi > lo)) lo = -180.0, hi = 180.0;
  if (!(w.top > w.bottom)) w.bottom = -1.0, w.top = 1.0;
  // A margin of 3% on every side, so the extent's edges show.
  const double ma = (hi - lo) * 0.03, mh = (w.top - w.bottom) * 0.03;
  w.lo = lo - ma;
  w.hi = hi + ma;
  w.bottom -= mh;
  w.top += mh;
  return w;
}

}  // namespace

std::array<int, 3> PreviewColour(int k) {
  const int* c = kPalette[k % 8];
  return {c[0], c[1], c[2]};
}

std::string BlendPreviewPng(const BlendWeights& blend, const std::vector<const ProjectorMaps*>& maps,
                            int alphaBits, int width, int threads) {
  const Window w = WindowOf(blend);
  // One scale for both directions (screen length per pixel), so shapes are true.
  const double arc = (w.hi - w.lo) * kRadiansPerDegree * std::fabs(double(blend.Radius()));
  const int height = std::clamp(static_cast<int>(std::lround((w.top - w.bottom) / arc * width)), kMinHeight,
                                kMaxHeight);
  const double top = alphaBits >= 16 ? 65535.0 : 255.0;
  std::vector<std::uint16_t> rgb(std::size_t(width) * height * 3, 0);
  ForEachRow(height, threads, [&](int y) {
    const double h = w.top - (y + 0.5) / height * (w.top - w.bottom);
    for (int x = 0; x < width; ++x) {
      const double a = (w.lo + (x + 0.5) / width * (w.hi - w.lo)) * kRadiansPerDegree;
      const D3DXVECTOR3 p(static_cast<float>(blend.Radius() * std::sin(a)), static_cast<float>(h),
                          static_cast<float>(blend.Radius() * std::cos(a)));
      std::uint16_t* out = &rgb[(std::size_t(y) * width + x) * 3];
      const float angle = ScreenAngleOf(p);
      if (!blend.Extent().Contains(p, angle)) {
        out[0] = out[1] = out[2] = kOutside;
        continue;
      }
      double sum[3] = {0, 0, 0};
      const D3DXVECTOR3 axis(0.0f, p.y, 0.0f);
      for (int k : blend.Index().Candidates(angle)) {
        float u, v;
        if (!blend.ImagePointOf(k, p, axis, u, v)) continue;
        const ProjectorMaps& m = *maps[k];
        const int px = std::min(m.resolution[0] - 1, static_cast<int>(u * m.resolution[0]));
        const int py = std::min(m.resolution[1] - 1, static_cast<int>(v * m.resolution[1]));
        const double alpha =
            QuantisedWeight(m.alpha[std::size_t(py) * m.resolution[0] + px], alphaBits) / top;
        const std::array<int, 3> c = PreviewColour(k);
        for (int i = 0; i < 3; ++i) sum[i] += alpha * c[i];
      }
      for (int i = 0; i < 3; ++i) out[i] = static_cast<std::uint16_t>(std::min(255.0, std::round(sum[i])));
    }
  });
  return PngBytes(width, height, 3, 8, rgb);
}

}  // namespace rig
