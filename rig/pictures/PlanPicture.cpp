// The plan view drawn: title, the screen circle with its compass angles,
// each projector's light cone to its stretch of the screen and its
// footprint's arc, the eye and its look-at direction, the projectors
// numbered, and the key.
#include <cmath>
#include <sstream>

#include "rig/output/StagedFile.h"
#include "rig/pictures/LabelPlacement.h"
#include "rig/pictures/PlanView.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/pictures/RigPicture.h"
#include "rig/pictures/SvgText.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kArcPoints = 24;

// Points of the screen circle from `from` to `to` degrees.
void Arc(const PlanView& v, double from, double to, std::vector<double>& xs, std::vector<double>& ys) {
  for (int i = 0; i <= kArcPoints; ++i) {
    const double a = (from + (to - from) * i / kArcPoints) * kPi / 180;
    xs.push_back(v.centreX + v.screenRadius * std::sin(a));
    ys.push_back(v.centreY - v.screenRadius * std::cos(a));
  }
}

}  // namespace

std::string RigPlanSvg(const RigReport& r) {
  const PlanView v = LayOutPlanView(r);
  std::ostringstream o;
  o << SvgHeader(v.width, v.height)
    << "<text x=\"30\" y=\"24\" font-size=\"16\" font-weight=\"bold\">The rig from above (radius "
    << SvgEscape(Fixed(r.scene.radius, 3)) << ", " << r.projectors.size()
    << (r.projectors.size() == 1 ? " projector" : " projectors") << ")</text>\n"
    << "<text x=\"30\" y=\"42\" fill=\"#555555\">screen angle 0 (+Z) up, +X right, angle growing clockwise; "
    << "each projector's light cone to its footprint, numbered (key below)</text>\n"
    << "<circle id=\"plan-screen\" cx=\"" << Px(v.centreX) << "\" cy=\"" << Px(v.centreY) << "\" r=\""
    << Px(v.screenRadius) << "\" fill=\"#fafafa\" stroke=\"#666666\" stroke-width=\"2\"/>\n";
  const char* const compass[4] = {"0\u00b0", "90\u00b0", "180\u00b0", "-90\u00b0"};
  for (int k = 0; k < 4; ++k) {
    const double a = k * kPi / 2, rr = v.screenRadius - 16;
    o << "<text x=\"" << Px(v.centreX + rr * std::sin(a)) << "\" y=\"" << Px(v.centreY - rr * std::cos(a) + 4)
      << "\" text-anchor=\"middle\" fill=\"#777777\">" << compass[k] << "</text>\n";
  }
  o << "<g id=\"plan-cones\">\n";
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const ProjectorReport& q = r.projectors[i];
    if (q.unrolled.empty()) continue;
    const char* colour = PaletteColour(v.colours[i]);
    std::vector<double> xs{v.X(q.position.x)}, ys{v.Y(q.position.z)};
    Arc(v, q.angleFrom, q.angleTo, xs, ys);
    o << "<polygon points=\"" << SvgPoints(xs, ys) << "\" fill=\"" << colour << "\" fill-opacity=\"0.12\" stroke=\""
      << colour << "\" stroke-width=\"0.7\" stroke-opacity=\"0.6\"/>\n";
    xs.erase(xs.begin()), ys.erase(ys.begin());
    o << "<polyline points=\"" << SvgPoints(xs, ys) << "\" fill=\"none\" stroke=\"" << colour
      << "\" stroke-width=\"5\"/>\n";
  }
  o << "</g>\n";
  // The eye, and where it looks.
  const double ex = v.X(r.eye.position.x), ey = v.Y(r.eye.position.z);
  if (std::isfinite(r.eye.lookAt.x) && std::isfinite(r.eye.lookAt.z) && !r.eye.oneEyeCannotFrame) {
    o << "<line x1=\"" << Px(ex) << "\" y1=\"" << Px(ey) << "\" x2=\"" << Px(v.X(r.eye.lookAt.x)) << "\" y2=\""
      << Px(v.Y(r.eye.lookAt.z)) << "\" stroke=\"#000000\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"/>\n";
  }
  o << "<circle id=\"plan-eye\" cx=\"" << Px(ex) << "\" cy=\"" << Px(ey) << "\" r=\"6\" fill=\"#000000\"/>\n"
    << "<text x=\"" << Px(ex + 22) << "\" y=\"" << Px(ey - 8) << "\" text-anchor=\"middle\">eye</text>\n";
  o << "<g id=\"plan-projectors\">\n";
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const ProjectorReport& q = r.projectors[i];
    o << "<circle id=\"plan-projector-" << i << "\" cx=\"" << Px(v.X(q.position.x)) << "\" cy=\"" << Px(v.Y(q.position.z))
      << "\" r=\"3.5\" fill=\"" << PaletteColour(v.colours[i]) << "\" stroke=\"#111111\" stroke-width=\"0.8\"/>\n";
  }
  o << "</g>\n<g id=\"plan-labels\">\n";
  for (const PlanLabel& l : v.labels) {
    const char* colour = PaletteColour(v.colours[l.projector]);
    const double cx = (l.box.x0 + l.box.x1) / 2, cy = (l.box.y0 + l.box.y1) / 2;
    if (l.leader) {
      o << "<line x1=\"" << Px(cx) << "\" y1=\"" << Px(cy) << "\" x2=\"" << Px(l.anchorX) << "\" y2=\"" << Px(l.anchorY)
        << "\" stroke=\"" << colour << "\" stroke-width=\"0.6\"/>\n";
    }
    o << "<rect class=\"label-box\" x=\"" << Px(l.box.x0) << "\" y=\"" << Px(l.box.y0) << "\" width=\""
      << Px(l.box.x1 - l.box.x0) << "\" height=\"" << Px(l.box.y1 - l.box.y0) << "\" fill=\"#ffffff\" fill-opacity=\"0.8\"/>\n"
      << "<text x=\"" << Px(cx) << "\" y=\"" << Px(l.box.y1 - 3.5) << "\" text-anchor=\"middle\" font-size=\"11\" "
      << "font-weight=\"bold\" fill=\"" << colour << "\">" << (l.projector + 1) << "</text>\n";
  }
  o << "</g>\n<g id=\"plan-key\">\n<text x=\"30\" y=\"" << Px(v.keyTop) << "\" font-weight=\"bold\">Key</text>\n"
    << "<circle cx=\"38\" cy=\"" << Px(v.keyTop + 16) << "\" r=\"6\" fill=\"#000000\"/><text x=\"52\" y=\""
    << Px(v.keyTop + 20) << "\">the eye (dashed: where it looks)</text>\n"
    << "<circle cx=\"338\" cy=\"" << Px(v.keyTop + 16) << "\" r=\"3.5\" fill=\"" << PaletteColour(0)
    << "\" stroke=\"#111111\"/><text x=\"352\" y=\"" << Px(v.keyTop + 20)
    << "\">a projector, its light cone and its footprint's arc</text>\n";
  double widest = 0;
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    widest = std::max(widest, TextWidth(std::to_string(i + 1) + "  " + r.projectors[i].name, 11));
  }
  const double cell = std::min(widest + 18, v.width - 60);
  const std::size_t perRow = std::max<std::size_t>(1, static_cast<std::size_t>((v.width - 60) / cell));
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    o << "<text x=\"" << Px(30 + (i % perRow) * cell) << "\" y=\"" << Px(v.keyTop + 52 + (i / perRow) * 15.0)
      << "\" font-size=\"11\"><tspan font-weight=\"bold\" fill=\"" << PaletteColour(v.colours[i]) << "\">" << (i + 1)
      << "</tspan>  " << SvgEscape(r.projectors[i].name) << "</text>\n";
  }
  o << "</g>\n</svg>\n";
  return o.str();
}

void WriteRigPlan(const RigReport& report, const std::string& path) { WriteFileWhole(path, RigPlanSvg(report)); }

}  // namespace rig
