// Blend weights: how much of the picture each projector shows at a screen
// point, so that the weights of all projectors lighting the point sum to 1
// in linear light.
//
// The ramp. Projector k lights point p through its image point (u, v)
// (0..1 each). Its distance to its own image border is
//   d_k = min(min(u, 1 - u) * spanX_k, min(v, 1 - v) * spanY_k)
// in screen degrees: spanX_k is the footprint's width in screen angle and
// spanY_k its height as an arc of the screen (height / radius, in degrees),
// so a projector's horizontal and vertical edges ramp over the same
// distance on the screen. With a blend width B (degrees) the distance is
// capped, d_k = min(d_k, B): each ramp then lies within B of an image edge,
// and where every projector is farther than B from its edges they share
// the point evenly. The weight is w_k = d_k^2 / sum_j d_j^2 over the
// projectors j that light p: continuous, 0 at every image edge, 1 where a
// projector is alone. Points outside the screen extent get weight 0.
//
// Which projector lights p through which image point comes from the
// projection library's inverse mapping (a camera standing at the projector
// whose pixel is being weighed, looking straight at p), checked to be the
// first screen point on that projector's ray; the candidates come from the
// footprints' angle extents (FootprintAngleIndex), never from all projectors.
#pragma once

#include <vector>

#include "rig/analyses/ScreenTrace.h"
#include "rig/export/ExtentMembership.h"
#include "rig/export/FootprintAngleIndex.h"

namespace rig {

class BlendWeights {
 public:
  // The exponent of the ramp.
  static constexpr int kPower = 2;

  // `blendWidth` in degrees; 0 or less: no cap.
  BlendWeights(std::vector<ProjectorLens> lenses, float radius, const ScreenExtent& extent,
               float blendWidth);

  int Count() const { return static_cast<int>(lenses_.size()); }
  const ProjectorLens& Lens(int k) const { return lenses_[k]; }
  float Radius() const { return radius_; }
  const ExtentMembership& Extent() const { return extent_; }
  const FootprintAngleIndex& Index() const { return index_; }

  // Projector k's ramp distance d_k at its image point (u, v), capped.
  float EdgeDistance(int k, float u, float v) const;

  // The image point (u, v) of projector k that lights screen point p, seen
  // from `viewer` (a point inside the screen from which p is visible: a
  // projector lighting p). False when projector k does not light p: p is
  // behind it, outside its image, or not the first screen point on its ray.
  bool ImagePointOf(int k, D3DXVECTOR3 p, D3DXVECTOR3 viewer, float& u, float& v) const;

  // The weight of projector `own` at its image point (u, v), which lights
  // screen point p at screen angle `angle`: 0 outside the extent.
  float WeightAt(int own, float u, float v, D3DXVECTOR3 p, float angle) const;

  // Every projector's weight at screen point p (0 for those that do not
  // light it), for checks and previews. `viewer` as for ImagePointOf.
  std::vector<float> WeightsAt(D3DXVECTOR3 p, D3DXVECTOR3 viewer) const;

 private:
  std::vector<ProjectorLens> lenses_;
  float radius_;
  ExtentMembership extent_;
  FootprintAngleIndex index_;
  std::vector<float> spanX_, spanY_;
  float cap_;
};

}  // namespace rig
