#include "rig/pictures/PolylineSimplification.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rig {
namespace {

// Distance from point p to the segment a-b (to a itself when a and b meet).
double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

std::vector<std::size_t> KeptPoints(const std::vector<double>& xs, const std::vector<double>& ys, double tolerance) {
  const std::size_t n = std::min(xs.size(), ys.size());
  std::vector<std::size_t> all(n);
  for (std::size_t i = 0; i < n; ++i) all[i] = i;
  if (n < 3) return all;
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return all;
  }
  std::vector<bool> keep(n, false);
  keep[0] = keep[n - 1] = true;
  // Stretches still to judge, as (first, last) with both ends kept; each
  // split makes two shorter ones, so the stack never holds more than n.
  std::vector<std::pair<std::size_t, std::size_t>> stretches{{0, n - 1}};
  while (!stretches.empty()) {
    const auto [a, b] = stretches.back();
    stretches.pop_back();
    double farthest = -1;
    std::size_t at = a;
    for (std::size_t i = a + 1; i < b; ++i) {
      const double d = DistanceToSegment(xs[i], ys[i], xs[a], ys[a], xs[b], ys[b]);
      if (d > farthest) farthest = d, at = i;
    }
    if (farthest > tolerance) {
      keep[at] = true;
      stretches.push_back({a, at});
      stretches.push_back({at, b});
    }
  }
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < n; ++i) {
    if (keep[i]) kept.push_back(i);
  }
  return kept;
}

}  // namespace rig
