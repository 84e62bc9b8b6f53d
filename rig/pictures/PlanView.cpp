#include "rig/pictures/PlanView.h"

#include <algorithm>
#include <cmath>

#include "rig/pictures/ProjectorColours.h"

namespace rig {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTextHeight = 14, kLaneStep = 16, kFont = 11;
constexpr int kLanes = 6;          // rings of numbers outside the screen
constexpr double kMargin = 30, kTitle = 56;
constexpr std::size_t kBesideAtMost = 32;

LabelBox Centred(double cx, double cy, double w, double h) { return {cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2}; }

}  // namespace

PlanView LayOutPlanView(const RigReport& r) {
  PlanView v;
  v.colours = ProjectorColours(r);
  const std::size_t n = r.projectors.size();
  // Room on the outer rings for every number: about 24 px each over four rings.
  v.screenRadius = std::min(std::max(260.0, 24.0 * static_cast<double>(n) / (2 * kPi * 4)), 1200.0);
  // Everything drawn lies within `reach` scene lengths of the axis.
  const double radius = r.scene.radius > 0 && std::isfinite(r.scene.radius) ? r.scene.radius : 1.0;
  double reach = radius;
  auto include = [&](double x, double z) {
    if (std::isfinite(x) && std::isfinite(z)) reach = std::max(reach, std::hypot(x, z));
  };
  for (const ProjectorReport& q : r.projectors) include(q.position.x, q.position.z);
  include(r.eye.position.x, r.eye.position.z);
  reach = std::min(reach, 100 * radius);  // a far stray keeps the screen legible
  v.scale = v.screenRadius / radius;
  const double outer = std::max(reach * v.scale, v.screenRadius + 14 + kLanes * kLaneStep) + 8;
  v.centreX = kMargin + outer;
  v.centreY = kTitle + outer;
  v.width = std::max(2 * (kMargin + outer), 780.0);
  v.centreX = v.width / 2;

  // Fixed marks: the eye and the four compass angles inside the circle.
  v.fixedMarks.push_back(Centred(v.X(r.eye.position.x), v.Y(r.eye.position.z), 14, 14));
  v.fixedMarks.push_back(Centred(v.X(r.eye.position.x) + 22, v.Y(r.eye.position.z) - 12, 26, kTextHeight));
  for (int k = 0; k < 4; ++k) {
    const double a = k * kPi / 2, rr = v.screenRadius - 16;
    v.fixedMarks.push_back(Centred(v.centreX + rr * std::sin(a), v.centreY - rr * std::cos(a), 36, kTextHeight));
  }
  for (const ProjectorReport& q : r.projectors) {
    v.fixedMarks.push_back(Centred(v.X(q.position.x), v.Y(q.position.z), 8, 8));
  }

  std::vector<std::vector<LabelBox>> candidates;
  std::vector<PlanLabel> pending;
  for (std::size_t i = 0; i < n; ++i) {
    const ProjectorReport& q = r.projectors[i];
    const double w = TextWidth(std::to_string(i + 1), kFont) + 4;
    const double px = v.X(q.position.x), py = v.Y(q.position.z);
    std::vector<LabelBox> c;
    const double d = 6;
    const double around[8][2] = {{d + w / 2, 0},  {-d - w / 2, 0}, {0, -d - kTextHeight / 2}, {0, d + kTextHeight / 2},
                                 {d + w / 2, -d}, {-d - w / 2, -d}, {d + w / 2, d},          {-d - w / 2, d}};
    // Beside the projector while few enough to be read there; many are
    // numbered only on the rings, where their order is the screen's.
    if (n <= kBesideAtMost) {
      for (const auto& o : around) c.push_back(Centred(px + o[0], py + o[1], w, kTextHeight));
    }
    // On the rings outside the screen, at the footprint's middle angle.
    const double middle = (q.angleFrom + q.angleTo) / 2 * kPi / 180;
    for (int lane = 0; lane < kLanes; ++lane) {
      const double rr = v.screenRadius + 14 + lane * kLaneStep;
      c.push_back(Centred(v.centreX + rr * std::sin(middle), v.centreY - rr * std::cos(middle), w, kTextHeight));
    }
    // Then a label's width along the ring either way.
    for (int lane = 0; lane < kLanes; ++lane) {
      const double rr = v.screenRadius + 14 + lane * kLaneStep;
      for (double side : {-1.0, 1.0}) {
        const double a = middle + side * w / rr;
        c.push_back(Centred(v.centreX + rr * std::sin(a), v.centreY - rr * std::cos(a), w, kTextHeight));
      }
    }
    candidates.push_back(c);
    PlanLabel l;
    l.projector = static_cast<int>(i);
    l.anchorX = v.centreX + v.screenRadius * std::sin(middle);
    l.anchorY = v.centreY - v.screenRadius * std::cos(middle);
    pending.push_back(l);
  }
  // Rings before far-flung neighbours: a number beside its projector is
  // tried first, and the rings hold whatever finds no room there.
  const std::vector<int> chosen = PlaceLabels(candidates, v.fixedMarks, kTextHeight);
  for (std::size_t i = 0; i < n; ++i) {
    if (chosen[i] < 0) continue;
    PlanLabel l = pending[i];
    l.box = candidates[i][chosen[i]];
    l.leader = n > kBesideAtMost || chosen[i] >= 8;
    v.labels.push_back(l);
  }
  v.keyTop = v.centreY + outer + 16;
  // The key: number and name, in columns.
  double widest = 0;
  for (std::size_t i = 0; i < n; ++i) widest = std::max(widest, TextWidth(std::to_string(i + 1) + "  " + r.projectors[i].name, kFont));
  const double cell = std::min(widest + 18, v.width - 2 * kMargin);
  const std::size_t perRow = std::max<std::size_t>(1, static_cast<std::size_t>((v.width - 2 * kMargin) / cell));
  v.height = v.keyTop + 60 + ((n + perRow - 1) / perRow) * 15.0 + 12;
  return v;
}

}  // namespace rig
