#include "rig/pictures/UnrolledLayout.h"

#include <algorithm>
#include <cmath>

namespace rig {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTurns[] = {-720.0, -360.0, 0.0, 360.0, 720.0};

double Wrap(double a) {
  const double w = std::fmod(a, 360.0);
  return w < 0 ? w + 360.0 : w;
}

// Angular distance on the circle, 0 ... 180.
double CircularDistance(double a, double b) {
  const double d = Wrap(a - b);
  return d > 180.0 ? 360.0 - d : d;
}

// The circle [0, 360) cut into stretches, each with the number of spans
// over it.
struct Stretch {
  double from, to;
  int count;
};

std::vector<Stretch> Stretches(const std::vector<AngleSpan>& spans, bool footprintsOnly) {
  struct Event {
    double at;
    int change;
  };
  std::vector<Event> events;
  int base = 0;
  for (const AngleSpan& s : spans) {
    if (footprintsOnly && !s.keepWhole) continue;
    if (!(std::isfinite(s.from) && std::isfinite(s.to))) continue;
    const double width = s.to - s.from;
    if (width >= 360.0) {
      ++base;
      continue;
    }
    const double from = Wrap(s.from), to = from + std::max(width, 0.0);
    events.push_back({from, +1});
    if (to <= 360.0) {
      events.push_back({to, -1});
    } else {
      ++base;  // over 0 degrees
      events.push_back({to - 360.0, -1});
    }
  }
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.at < b.at || (a.at == b.at && a.change < b.change);
  });
  std::vector<Stretch> out;
  double at = 0;
  int count = base;
  for (const Event& e : events) {
    if (e.at > at) out.push_back({at, e.at, count});
    count += e.change;
    at = std::max(at, e.at);
  }
  if (at < 360.0) out.push_back({at, 360.0, count});
  return out;
}

// How far the footprints across `angle` reach beyond it on either side.
void Overhang(const std::vector<AngleSpan>& spans, double angle, double* left, double* right) {
  *left = *right = 0;
  for (const AngleSpan& s : spans) {
    if (!s.keepWhole) continue;
    for (double t : kTurns) {
      if (s.from + t < angle && angle < s.to + t) {
        *left = std::max(*left, std::min(angle - s.from - t, 180.0));
        *right = std::max(*right, std::min(s.to + t - angle, 180.0));
      }
    }
  }
}

}  // namespace

UnrolledLayout::UnrolledLayout(const std::vector<AngleSpan>& spans, double heightFrom, double heightTo,
                               double radius, double behind)
    : radius_(std::isfinite(radius) && radius > 0 ? radius : 1.0) {
  // Which stretch of the circle, and where it starts.
  double start = 0, length = 360;
  const std::vector<Stretch> all = Stretches(spans, false);
  double gapFrom = 0, gapLength = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i].count != 0) continue;
    double from = all[i].from, to = all[i].to;
    // The empty stretches at both ends of [0, 360) are one gap over 0.
    if (i == 0 && all.back().count == 0 && all.size() > 1) from = all.back().from - 360.0;
    if (i + 1 == all.size() && all.front().count == 0 && all.size() > 1) continue;
    if (to - from > gapLength) gapFrom = from, gapLength = to - from;
  }
  const bool anySpan = !all.empty() && !(all.size() == 1 && all[0].count == 0);
  if (!anySpan) {
    start = -20, length = 40;  // nothing to show: a plain stretch ahead
  } else if (gapLength > 0) {
    const double cover = 360.0 - gapLength;
    const double pad = std::min(0.04 * cover + 0.5, 0.45 * gapLength);
    start = gapFrom + gapLength - pad;
    length = cover + 2 * pad;
  } else {
    wholeCircle_ = true;
    const std::vector<Stretch> crossed = Stretches(spans, true);
    const Stretch* best = nullptr;
    for (const Stretch& s : crossed) {
      const double middle = (s.from + s.to) / 2;
      if (!best || s.count < best->count ||
          (s.count == best->count &&
           CircularDistance(middle, behind) < CircularDistance((best->from + best->to) / 2, behind))) {
        best = &s;
      }
    }
    start = best ? (best->from + best->to) / 2 : Wrap(behind);
  }
  // Shown around the front: the stretch's middle within (-180, 180].
  if (start + length / 2 > 180.0) start -= 360.0;
  if (start + length / 2 <= -180.0) start += 360.0;

  heightBottom_ = heightFrom, heightTop_ = heightTo;
  if (!(std::isfinite(heightBottom_) && std::isfinite(heightTop_) && heightBottom_ < heightTop_)) {
    heightBottom_ = 0, heightTop_ = 1;
  }
  const double pad = (heightTop_ - heightBottom_) * 0.06;
  heightBottom_ -= pad, heightTop_ += pad;
  const double tall = heightTop_ - heightBottom_;

  // The fewest bands that make the picture at least an eighth as tall as wide.
  for (int n = 1; n <= kMaxBands; ++n) {
    bands_.clear();
    double widest = 0;
    for (int k = 0; k < n; ++k) {
      UnrolledBand b;
      b.nominalFrom = start + length * k / n;
      b.nominalTo = start + length * (k + 1) / n;
      double left = 0, right = 0, unused = 0;
      if (k > 0 || wholeCircle_) Overhang(spans, b.nominalFrom, &left, &unused);
      if (k + 1 < n || wholeCircle_) Overhang(spans, b.nominalTo, &unused, &right);
      b.angleFrom = b.nominalFrom - left;
      b.angleTo = b.nominalTo + right;
      widest = std::max(widest, b.angleTo - b.angleFrom);
      bands_.push_back(b);
    }
    const double arc = widest * kPi / 180.0 * radius_;
    scale_ = std::min(kMaxPlotWidth / arc, kMaxPlotHeight / tall);
    if (n * tall >= 0.125 * arc) break;
  }
}

double UnrolledLayout::Arc(double degrees) const { return degrees * kPi / 180.0 * radius_ * scale_; }

double UnrolledLayout::MaxPlotWidth() const {
  double w = 0;
  for (const UnrolledBand& b : bands_) w = std::max(w, PlotWidth(b));
  return w;
}

std::vector<double> UnrolledLayout::TurnsInto(const UnrolledBand& b, double from, double to) const {
  std::vector<double> out;
  for (double t : kTurns) {
    if (from + t < b.angleTo && to + t > b.angleFrom) out.push_back(t);
  }
  return out;
}

std::size_t UnrolledLayout::HomeBand(double angle, double* turned) const {
  for (std::size_t k = 0; k < bands_.size(); ++k) {
    for (double t : kTurns) {
      if (bands_[k].nominalFrom <= angle + t && angle + t < bands_[k].nominalTo) {
        *turned = angle + t;
        return k;
      }
    }
  }
  // Outside every share (padding of a stretch that is not a whole turn):
  // the nearer end.
  const UnrolledBand& first = bands_.front();
  const UnrolledBand& last = bands_.back();
  for (double t : kTurns) {
    if (angle + t >= first.angleFrom && angle + t < first.nominalFrom) {
      *turned = angle + t;
      return 0;
    }
  }
  for (double t : kTurns) {
    if (angle + t >= last.nominalTo && angle + t <= last.angleTo) {
      *turned = angle + t;
      return bands_.size() - 1;
    }
  }
  *turned = angle;
  return 0;
}

std::vector<AngleSpan> ContentSpans(const RigReport& r, double* heightFrom, double* heightTo) {
  std::vector<AngleSpan> spans;
  double lo = INFINITY, hi = -INFINITY;
  auto height = [&](double h) {
    if (std::isfinite(h)) lo = std::min(lo, h), hi = std::max(hi, h);
  };
  for (const ProjectorReport& p : r.projectors) {
    if (p.unrolled.empty()) continue;
    spans.push_back({p.angleFrom, p.angleTo, true});
    height(p.heightFrom);
    height(p.heightTo);
  }
  if (!r.eye.oneEyeCannotFrame && !r.eye.viewOutline.empty()) {
    double from = INFINITY, to = -INFINITY;
    // Its angles only: the mode's vertical field of view can reach far
    // above and below every footprint (it measures elevations on the plane
    // through its central direction), and would shrink the rig to a
    // sliver; the frame is clipped to the plot instead.
    for (const UnrolledPoint& u : r.eye.viewOutline) from = std::min<double>(from, u.angle), to = std::max<double>(to, u.angle);
    spans.push_back({from, to, false});
  }
  for (const CalibrationReport& k : r.calibrations) {
    for (int i = 0; i < 8; ++i) {
      for (const UnrolledPoint& u : {k.targets[i], k.startPoints[i], k.fittedPoints[i]}) {
        if (std::isfinite(u.angle) && std::isfinite(u.height)) spans.push_back({u.angle, u.angle, false});
        height(u.height);
      }
    }
  }
  if (r.scene.extent.angles) {
    const double from = (*r.scene.extent.angles)[0], to = (*r.scene.extent.angles)[1];
    double width = Wrap(to - from);
    if (width == 0) width = 360;
    spans.push_back({from, from + width, false});
  }
  if (r.scene.extent.heights) {
    height((*r.scene.extent.heights)[0]);
    height((*r.scene.extent.heights)[1]);
  }
  *heightFrom = lo, *heightTo = hi;
  return spans;
}

}  // namespace rig
