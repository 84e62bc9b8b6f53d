#include "rig/export/BlendWeights.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/vistrel/Oru_Vistrel.h"

namespace rig {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr int kSpanPointsPerEdge = 64;

// Whether p is the first screen point on the ray from `from` through it:
// from inside the screen every ray leaves through one point; from outside,
// the near side is hit first, where the ray enters (heads against the
// outward normal).
bool FirstHit(D3DXVECTOR3 from, D3DXVECTOR3 p, float radius) {
  if (double(from.x) * from.x + double(from.z) * from.z <= double(radius) * radius) return true;
  const double dx = double(p.x) - from.x, dz = double(p.z) - from.z;
  return dx * p.x + dz * p.z < 0.0;
}

// The ramp's shape: the distance squared (BlendWeights::kPower).
double Ramp(float distance) { return double(distance) * distance; }
static_assert(BlendWeights::kPower == 2, "Ramp squares the distance");

}  // namespace

BlendWeights::BlendWeights(std::vector<ProjectorLens> lenses, float radius, const ScreenExtent& extent,
                           float blendWidth)
    : lenses_(std::move(lenses)),
      radius_(radius),
      extent_(extent),
      index_(lenses_, radius),
      cap_(blendWidth > 0.0f ? blendWidth : INFINITY) {
  for (const ProjectorLens& lens : lenses_) {
    const std::vector<D3DXVECTOR3> border = TraceImageBorder(lens, radius, kSpanPointsPerEdge);
    float left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    for (const UnrolledPoint& p : UnrollOutline(border, ScreenAngleOf(lens.lookAt))) {
      left = std::fmin(left, p.angle);
      right = std::fmax(right, p.angle);
      bottom = std::fmin(bottom, p.height);
      top = std::fmax(top, p.height);
    }
    // A footprint whose border cannot be traced whole counts as one degree
    // each way: its pixels still get weights that sum to 1.
    const float width = std::fmin(right - left, 360.0f);
    spanX_.push_back(std::isfinite(width) && width > 0.0f ? width : 1.0f);
    const float arc = static_cast<float>((double(top) - bottom) / std::fabs(double(radius)) * kDegreesPerRadian);
    spanY_.push_back(std::isfinite(arc) && arc > 0.0f ? arc : 1.0f);
  }
}

float BlendWeights::EdgeDistance(int k, float u, float v) const {
  const float d = std::fmin(std::fmin(u, 1.0f - u) * spanX_[k], std::fmin(v, 1.0f - v) * spanY_[k]);
  return std::fmax(0.0f, std::fmin(d, cap_));
}

bool BlendWeights::ImagePointOf(int k, D3DXVECTOR3 p, D3DXVECTOR3 viewer, float& u, float& v) const {
  const ProjectorLens& lens = lenses_[k];
  if (!FirstHit(lens.position, p, radius_)) return false;
  // A camera at `viewer` looking straight at p sees it at its image centre;
  // the inverse mapping then names the projector's image point lighting it.
  const D3DXVECTOR2 uv = Oru_Vistrel::CamUV2ProjUV(
      D3DXVECTOR2(0.5f, 0.5f), lens.position, lens.lookAt, viewer, p,
      D3DXVECTOR3(lens.fovX, lens.fovY, 0.0f), D3DXVECTOR3(90.0f, 90.0f, 0.0f), radius_,
      lens.keystone, lens.roll);
  if (!(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f)) return false;
  u = uv.x;
  v = uv.y;
  return true;
}

float BlendWeights::WeightAt(int own, float u, float v, D3DXVECTOR3 p, float angle) const {
  if (!extent_.Contains(p, angle)) return 0.0f;
  const double mine = Ramp(EdgeDistance(own, u, v));
  if (mine == 0.0) return 0.0f;
  double sum = mine;
  for (int k : index_.Candidates(angle)) {
    float ku, kv;
    if (k == own || !ImagePointOf(k, p, lenses_[own].position, ku, kv)) continue;
    sum += Ramp(EdgeDistance(k, ku, kv));
  }
  return static_cast<float>(mine / sum);
}

std::vector<float> BlendWeights::WeightsAt(D3DXVECTOR3 p, D3DXVECTOR3 viewer) const {
  std::vector<float> weights(lenses_.size(), 0.0f);
  const float angle = ScreenAngleOf(p);
  if (!extent_.Contains(p, angle)) return weights;
  double sum = 0.0;
  std::vector<double> raw(lenses_.size(), 0.0);
  for (int k : index_.Candidates(angle)) {
    float u, v;
    if (!ImagePointOf(k, p, viewer, u, v)) continue;
    raw[k] = Ramp(EdgeDistance(k, u, v));
    sum += raw[k];
  }
  if (sum > 0.0) {
    for (std::size_t k = 0; k < raw.size(); ++k) weights[k] = static_cast<float>(raw[k] / sum);
  }
  return weights;
}

}  // namespace rig
