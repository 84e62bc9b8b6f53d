#include "rig/pictures/RigPicture.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "rig/RigError.h"
#include "rig/output/StagedFile.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

const char* const kPalette[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728",
                                "#9467bd", "#8c564b", "#e377c2", "#17becf"};
constexpr double kPi = 3.14159265358979323846;

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

// Screen (angle, height) to picture pixels.
class Canvas {
 public:
  Canvas(double a0, double a1, double h0, double h1, double radius) : a0_(a0), h1_(h1), radius_(radius) {
    const double arc = (a1 - a0) * kPi / 180.0 * radius;
    const double tall = h1 - h0;
    scale_ = std::min(kMaxWidth / arc, kMaxHeight / tall);
    width_ = arc * scale_;
    height_ = tall * scale_;
  }
  double X(double angle) const { return kLeft + (angle - a0_) * kPi / 180.0 * radius_ * scale_; }
  double Y(double height) const { return kTop + (h1_ - height) * scale_; }
  double PlotWidth() const { return width_; }
  double PlotHeight() const { return height_; }
  double Scale() const { return scale_; }

  static constexpr double kLeft = 70, kTop = 56, kMaxWidth = 900, kMaxHeight = 520;

 private:
  double a0_, h1_, radius_, scale_, width_, height_;
};

std::string Points(const Canvas& c, const std::vector<UnrolledPoint>& points) {
  std::string s;
  for (const UnrolledPoint& p : points) {
    s += (s.empty() ? "" : " ") + Fixed(c.X(p.angle), 1) + "," + Fixed(c.Y(p.height), 1);
  }
  return s;
}

// A grid spacing of 1, 2 or 5 times a power of ten giving about `count` lines.
double NiceStep(double range, double count) {
  const double raw = range / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10.0 * power;
}

void Extend(double& lo, double& hi, double v) {
  if (std::isfinite(v)) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
}

}  // namespace

std::string RigPictureSvg(const RigReport& r) {
  double a0 = INFINITY, a1 = -INFINITY, h0 = INFINITY, h1 = -INFINITY;
  auto include = [&](const UnrolledPoint& p) {
    Extend(a0, a1, p.angle);
    Extend(h0, h1, p.height);
  };
  for (const ProjectorReport& p : r.projectors) std::for_each(p.unrolled.begin(), p.unrolled.end(), include);
  if (!r.eye.oneEyeCannotFrame) std::for_each(r.eye.viewOutline.begin(), r.eye.viewOutline.end(), include);
  for (const CalibrationReport& k : r.calibrations) {
    for (int i = 0; i < 8; ++i) {
      include(k.targets[i]);
      include(k.fittedPoints[i]);
    }
  }
  if (!(a0 < a1)) a0 = -10, a1 = 10;
  if (!(h0 < h1)) h0 = 0, h1 = 1;
  const double padA = (a1 - a0) * 0.04, padH = (h1 - h0) * 0.06;
  a0 -= padA, a1 += padA, h0 -= padH, h1 += padH;
  const Canvas c(a0, a1, h0, h1, r.scene.radius);
  const double right = Canvas::kLeft + c.PlotWidth(), bottom = Canvas::kTop + c.PlotHeight();
  const double width = right + 250, height = std::max(bottom + 60, 360.0);

  std::ostringstream o;
  o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << Fixed(width, 0)
    << "\" height=\"" << Fixed(height, 0) << "\" viewBox=\"0 0 " << Fixed(width, 0) << " "
    << Fixed(height, 0) << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
    << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
    << "<text x=\"" << Canvas::kLeft << "\" y=\"24\" font-size=\"16\" font-weight=\"bold\">"
    << "Projector rig on the unrolled screen (radius " << Fixed(r.scene.radius, 3) << ")</text>\n"
    << "<text x=\"" << Canvas::kLeft << "\" y=\"42\" fill=\"#555555\">screen angle across (degrees, "
    << "toward +X to the right), height up; both at one scale: "
    << Fixed(c.Scale(), 1) << " px per unit</text>\n";

  // Grid and axes.
  o << "<g stroke=\"#e3e3e3\" stroke-width=\"1\">\n";
  const double da = NiceStep(a1 - a0, 10), dh = NiceStep(h1 - h0, 6);
  std::ostringstream labels;
  for (double a = std::ceil(a0 / da) * da; a <= a1; a += da) {
    o << "<line x1=\"" << Fixed(c.X(a), 1) << "\" y1=\"" << Canvas::kTop << "\" x2=\"" << Fixed(c.X(a), 1)
      << "\" y2=\"" << Fixed(bottom, 1) << "\"/>\n";
    labels << "<text x=\"" << Fixed(c.X(a), 1) << "\" y=\"" << Fixed(bottom + 16, 1)
           << "\" text-anchor=\"middle\">" << Fixed(a, da < 1 ? 1 : 0) << "</text>\n";
  }
  for (double h = std::ceil(h0 / dh) * dh; h <= h1; h += dh) {
    o << "<line x1=\"" << Canvas::kLeft << "\" y1=\"" << Fixed(c.Y(h), 1) << "\" x2=\"" << Fixed(right, 1)
      << "\" y2=\"" << Fixed(c.Y(h), 1) << "\"/>\n";
    labels << "<text x=\"" << Canvas::kLeft - 6 << "\" y=\"" << Fixed(c.Y(h) + 4, 1)
           << "\" text-anchor=\"end\">" << Fixed(h, dh < 1 ? 2 : 0) << "</text>\n";
  }
  o << "</g>\n<rect x=\"" << Canvas::kLeft << "\" y=\"" << Canvas::kTop << "\" width=\""
    << Fixed(c.PlotWidth(), 1) << "\" height=\"" << Fixed(c.PlotHeight(), 1)
    << "\" fill=\"none\" stroke=\"#888888\"/>\n"
    << labels.str() << "<text x=\"" << Fixed(Canvas::kLeft + c.PlotWidth() / 2, 1) << "\" y=\""
    << Fixed(bottom + 36, 1) << "\" text-anchor=\"middle\">screen angle (degrees)</text>\n"
    << "<text transform=\"translate(18 " << Fixed(Canvas::kTop + c.PlotHeight() / 2, 1)
    << ") rotate(-90)\" text-anchor=\"middle\">height</text>\n";

  // Footprints: half-transparent fills, so where two overlap it is darker.
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const ProjectorReport& p = r.projectors[i];
    const char* colour = kPalette[i % 8];
    o << "<polygon id=\"footprint-" << i << "\" points=\"" << Points(c, p.unrolled) << "\" fill=\""
      << colour << "\" fill-opacity=\"0.35\" stroke=\"" << colour << "\" stroke-width=\"1.5\"/>\n";
  }
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const ProjectorReport& p = r.projectors[i];
    // A third of the way across, clear of the calibration markers at the
    // edge midpoints and of the neighbours' overlap.
    const double x = c.X(p.angleFrom + (p.angleTo - p.angleFrom) / 3), y = c.Y(p.heightTo) + 20;
    o << "<text x=\"" << Fixed(x, 1) << "\" y=\"" << Fixed(y, 1) << "\" text-anchor=\"middle\" fill=\""
      << kPalette[i % 8] << "\" font-weight=\"bold\">" << Escape(p.name) << "</text>\n";
  }

  // The eye.
  const bool eyeFramed = !r.eye.oneEyeCannotFrame && std::isfinite(r.eye.lookAtOnScreen.angle) &&
                         std::isfinite(r.eye.lookAtOnScreen.height);
  if (eyeFramed) {
    o << "<polygon id=\"eye-view\" points=\"" << Points(c, r.eye.viewOutline)
      << "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>\n";
    const double x = c.X(r.eye.lookAtOnScreen.angle), y = c.Y(r.eye.lookAtOnScreen.height);
    o << "<circle id=\"eye-lookat\" cx=\"" << Fixed(x, 1) << "\" cy=\"" << Fixed(y, 1)
      << "\" r=\"5\" fill=\"#000000\"/>\n"
      << "<text x=\"" << Fixed(x + 8, 1) << "\" y=\"" << Fixed(y - 8, 1) << "\">eye look-at</text>\n";
  } else {
    o << "<text x=\"" << Canvas::kLeft + 8 << "\" y=\"" << Canvas::kTop + 18
      << "\" fill=\"#b00000\">one eye cannot frame these footprints: see the per-projector frusta</text>\n";
  }

  // Calibrations: start (hollow), measured target (cross), fitted (dot).
  for (const CalibrationReport& k : r.calibrations) {
    o << "<g id=\"calibration-" << Escape(k.projector) << "\">\n";
    for (int i = 0; i < 8; ++i) {
      const double sx = c.X(k.startPoints[i].angle), sy = c.Y(k.startPoints[i].height);
      const double tx = c.X(k.targets[i].angle), ty = c.Y(k.targets[i].height);
      const double fx = c.X(k.fittedPoints[i].angle), fy = c.Y(k.fittedPoints[i].height);
      o << "<line x1=\"" << Fixed(sx, 1) << "\" y1=\"" << Fixed(sy, 1) << "\" x2=\"" << Fixed(tx, 1)
        << "\" y2=\"" << Fixed(ty, 1) << "\" stroke=\"#777777\" stroke-width=\"1\"/>\n"
        << "<circle cx=\"" << Fixed(sx, 1) << "\" cy=\"" << Fixed(sy, 1)
        << "\" r=\"5\" fill=\"none\" stroke=\"#555555\" stroke-width=\"1.5\"/>\n"
        << "<path d=\"M" << Fixed(tx - 6, 1) << "," << Fixed(ty - 6, 1) << " L" << Fixed(tx + 6, 1) << ","
        << Fixed(ty + 6, 1) << " M" << Fixed(tx - 6, 1) << "," << Fixed(ty + 6, 1) << " L"
        << Fixed(tx + 6, 1) << "," << Fixed(ty - 6, 1) << "\" stroke=\"#c00000\" stroke-width=\"2\"/>\n"
        << "<circle cx=\"" << Fixed(fx, 1) << "\" cy=\"" << Fixed(fy, 1)
        << "\" r=\"3\" fill=\"#006400\"/>\n";
    }
    o << "</g>\n";
  }

  // Legend.
  double ly = Canvas::kTop + 10;
  const double lx = right + 20;
  o << "<g id=\"legend\">\n<text x=\"" << lx << "\" y=\"" << ly << "\" font-weight=\"bold\">Legend</text>\n";
  ly += 20;
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    o << "<rect x=\"" << lx << "\" y=\"" << ly - 10 << "\" width=\"18\" height=\"12\" fill=\""
      << kPalette[i % 8] << "\" fill-opacity=\"0.35\" stroke=\"" << kPalette[i % 8] << "\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">projector " << Escape(r.projectors[i].name)
      << "</text>\n";
    ly += 20;
  }
  o << "<text x=\"" << lx << "\" y=\"" << ly << "\" fill=\"#555555\">overlaps show darker</text>\n";
  ly += 24;
  if (eyeFramed) {
    o << "<line x1=\"" << lx << "\" y1=\"" << ly - 4 << "\" x2=\"" << lx + 18 << "\" y2=\"" << ly - 4
      << "\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">eye's field of view</text>\n";
    ly += 20;
    o << "<circle cx=\"" << lx + 9 << "\" cy=\"" << ly - 4 << "\" r=\"5\" fill=\"#000000\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">eye's look-at</text>\n";
    ly += 20;
  }
  if (!r.calibrations.empty()) {
    o << "<circle cx=\"" << lx + 9 << "\" cy=\"" << ly - 4
      << "\" r=\"5\" fill=\"none\" stroke=\"#555555\" stroke-width=\"1.5\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">calibration: start</text>\n";
    ly += 20;
    o << "<path d=\"M" << lx + 3 << "," << ly - 10 << " L" << lx + 15 << "," << ly + 2 << " M" << lx + 3
      << "," << ly + 2 << " L" << lx + 15 << "," << ly - 10 << "\" stroke=\"#c00000\" stroke-width=\"2\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">calibration: measured target</text>\n";
    ly += 20;
    o << "<circle cx=\"" << lx + 9 << "\" cy=\"" << ly - 4 << "\" r=\"3\" fill=\"#006400\"/>\n"
      << "<text x=\"" << lx + 26 << "\" y=\"" << ly << "\">calibration: fitted</text>\n";
  }
  o << "</g>\n</svg>\n";
  return o.str();
}

void WriteRigPicture(const RigReport& report, const std::string& path) {
  WriteFileWhole(path, RigPictureSvg(report));
}

}  // namespace rig
