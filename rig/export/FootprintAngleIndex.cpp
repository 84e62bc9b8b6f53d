#include "rig/export/FootprintAngleIndex.h"

#include <cmath>

#include "rig/export/ExtentMembership.h"

namespace rig {
namespace {

// Border points per image edge, and the margin added on both sides of the
// traced extent: between two traced points (at most a 256th of an image
// edge apart) the border bulges outward by far less than that.
constexpr int kBorderPointsPerEdge = 256;
constexpr float kMarginDegrees = 0.25f;

int BinOf(float angle) {
  float a = std::fmod(angle, 360.0f);
  if (a < 0.0f) a += 360.0f;
  const int bin = static_cast<int>(a * FootprintAngleIndex::kBinsPerDegree);
  return bin >= FootprintAngleIndex::kBins ? 0 : bin;
}

}  // namespace

FootprintAngleIndex::FootprintAngleIndex(const std::vector<ProjectorLens>& lenses, float radius)
    : bins_(kBins) {
  for (std::size_t k = 0; k < lenses.size(); ++k) {
    const std::vector<D3DXVECTOR3> border = TraceImageBorder(lenses[k], radius, kBorderPointsPerEdge);
    float from = 0.0f, width = 360.0f;
    // A border with a missing point, or one that winds round the axis, may
    // hide where the footprint reaches: it is then a candidate everywhere.
    if (border.size() == std::size_t(4 * kBorderPointsPerEdge)) {
      const std::vector<UnrolledPoint> unrolled = UnrollOutline(border, ScreenAngleOf(border[0]));
      float lo = INFINITY, hi = -INFINITY;
      for (const UnrolledPoint& p : unrolled) {
        lo = std::fmin(lo, p.angle);
        hi = std::fmax(hi, p.angle);
      }
      const float closing = std::fabs(unrolled.back().angle - unrolled.front().angle);
      if (hi - lo + 2.0f * kMarginDegrees < 360.0f && closing < 180.0f) {
        from = lo - kMarginDegrees;
        width = hi - lo + 2.0f * kMarginDegrees;
      }
    }
    from_.push_back(from);
    width_.push_back(width);
    const int first = BinOf(from);
    const int count = width >= 360.0f ? kBins : static_cast<int>(std::ceil(width * kBinsPerDegree)) + 2;
    for (int i = 0; i < count && i < kBins; ++i) bins_[(first + i) % kBins].push_back(int(k));
  }
}

const std::vector<int>& FootprintAngleIndex::Candidates(float angle) const {
  static const std::vector<int> kNone;
  if (!std::isfinite(angle)) return kNone;
  return bins_[BinOf(angle)];
}

}  // namespace rig
