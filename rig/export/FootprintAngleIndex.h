// Which projectors may light a screen point, found without trying them all:
// the circle of screen angles is cut into quarter-degree bins, and each bin
// lists the projectors whose footprint's screen-angle extent (traced along
// the image border, widened by a margin) reaches into it. A query costs one
// bin lookup; building costs each footprint's width in bins. The lists are
// candidates: a caller still checks each one through the inverse mapping.
// Screen angles in degrees (scene frame: 0 toward +Z growing toward +X).
#pragma once

#include <vector>

#include "rig/analyses/ScreenTrace.h"

namespace rig {

class FootprintAngleIndex {
 public:
  static constexpr int kBins = 1440;
  static constexpr float kBinsPerDegree = 4.0f;

  FootprintAngleIndex(const std::vector<ProjectorLens>& lenses, float radius);

  // The projectors (indices into the lenses given) that may light a point at
  // screen angle `angle` (degrees, any turn), in increasing order. Empty for
  // a NaN angle.
  const std::vector<int>& Candidates(float angle) const;

  // The footprint's screen-angle extent of projector k: from `From` toward
  // growing angle over `Width` degrees (360 when it may reach all round).
  float From(int k) const { return from_[k]; }
  float Width(int k) const { return width_[k]; }

 private:
  std::vector<std::vector<int>> bins_;
  std::vector<float> from_, width_;
};

}  // namespace rig
