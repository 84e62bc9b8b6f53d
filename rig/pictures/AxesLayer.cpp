// The frame of the unrolled picture: title, warnings, each band's grid,
// ticks and clip region, the area to cover; and the drawing of any shape
// in every band it reaches.
#include <cmath>
#include <sstream>

#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/SvgText.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

// A grid spacing of 1, 2 or 5 times a power of ten giving about `count` lines.
double NiceStep(double range, double count) {
  const double raw = range / count;
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10.0 * power;
}

// An angle as the user reads it: in (-180, 180].
double Readable(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

}  // namespace

void DrawInBands(std::ostream& out, const UnrolledPicture& p, const std::vector<UnrolledPoint>& shape,
                 bool closed, const std::string& attributes) {
  if (shape.size() < 2) return;
  double from = INFINITY, to = -INFINITY;
  for (const UnrolledPoint& u : shape) {
    if (std::isfinite(u.angle)) from = std::min<double>(from, u.angle), to = std::max<double>(to, u.angle);
  }
  if (!(from <= to)) return;
  const std::vector<UnrolledBand>& bands = p.layout.Bands();
  for (std::size_t k = 0; k < bands.size(); ++k) {
    for (double turn : p.layout.TurnsInto(bands[k], from, to)) {
      std::vector<double> xs, ys;
      for (const UnrolledPoint& u : shape) {
        xs.push_back(p.layout.X(bands[k], u.angle + turn));
        ys.push_back(p.layout.Y(bands[k], u.height));
      }
      out << (closed ? "<polygon" : "<polyline") << " clip-path=\"url(#band-" << k << ")\" points=\""
          << SvgPoints(xs, ys) << "\" " << attributes << "/>\n";
    }
  }
}

void DrawAxes(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  const double left = UnrolledLayout::kPlotLeft;
  o << "<text x=\"" << left << "\" y=\"24\" font-size=\"16\" font-weight=\"bold\">"
    << "Projector rig on the unrolled screen (radius " << SvgEscape(Fixed(r.scene.radius, 3)) << ", "
    << r.projectors.size() << (r.projectors.size() == 1 ? " projector" : " projectors") << ")</text>\n"
    << "<text x=\"" << left << "\" y=\"42\" fill=\"#555555\">screen angle across (degrees, toward +X to the "
    << "right), height up; both at one scale: " << Fixed(p.layout.Scale(), 1) << " px per unit"
    << (p.layout.Bands().size() > 1 ? "; the circle wraps into bands, top to bottom" : "") << "</text>\n";
  for (std::size_t i = 0; i < p.warnings.size(); ++i) {
    o << "<text id=\"warning-" << i << "\" x=\"" << Px(p.warningBoxes[i].x0) << "\" y=\""
      << Px(p.warningBoxes[i].y1 - 3) << "\" fill=\"#b00000\">" << SvgEscape(p.warnings[i]) << "</text>\n";
  }

  const UnrolledLayout& L = p.layout;
  const double plotH = L.PlotHeight();
  o << "<defs>\n";
  for (std::size_t k = 0; k < L.Bands().size(); ++k) {
    const UnrolledBand& b = L.Bands()[k];
    o << "<clipPath id=\"band-" << k << "\"><rect x=\"" << Px(left) << "\" y=\"" << Px(b.plotTop)
      << "\" width=\"" << Px(L.PlotWidth(b)) << "\" height=\"" << Px(plotH) << "\"/></clipPath>\n";
  }
  o << "<pattern id=\"uncovered-hatch\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\" "
       "patternTransform=\"rotate(45)\"><rect width=\"8\" height=\"8\" fill=\"#ffffff\" fill-opacity=\"0.6\"/>"
       "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"8\" stroke=\"#c00000\" stroke-width=\"2.5\"/></pattern>\n"
    << "</defs>\n";

  const double dh = NiceStep(L.HeightTop() - L.HeightBottom(), std::max(2.0, plotH / 70));
  for (std::size_t k = 0; k < L.Bands().size(); ++k) {
    const UnrolledBand& b = L.Bands()[k];
    const double right = left + L.PlotWidth(b), bottom = b.plotTop + plotH;
    const double da = NiceStep(b.angleTo - b.angleFrom, std::max(2.0, L.PlotWidth(b) / 90));
    std::ostringstream labels;
    o << "<g id=\"band-grid-" << k << "\" stroke=\"#e3e3e3\" stroke-width=\"1\">\n";
    for (double a = std::ceil(b.angleFrom / da) * da; a <= b.angleTo; a += da) {
      const double x = L.X(b, a);
      o << "<line x1=\"" << Px(x) << "\" y1=\"" << Px(b.plotTop) << "\" x2=\"" << Px(x) << "\" y2=\""
        << Px(bottom) << "\"/>\n";
      labels << "<text x=\"" << Px(x) << "\" y=\"" << Px(bottom + 14) << "\" text-anchor=\"middle\">"
             << Fixed(Readable(a), da < 1 ? 1 : 0) << "</text>\n";
    }
    for (double h = std::ceil(L.HeightBottom() / dh) * dh; h <= L.HeightTop(); h += dh) {
      o << "<line x1=\"" << Px(left) << "\" y1=\"" << Px(L.Y(b, h)) << "\" x2=\"" << Px(right) << "\" y2=\""
        << Px(L.Y(b, h)) << "\"/>\n";
      labels << "<text x=\"" << Px(left - 6) << "\" y=\"" << Px(L.Y(b, h) + 4) << "\" text-anchor=\"end\">"
             << Fixed(h, dh < 1 ? 2 : 0) << "</text>\n";
    }
    o << "</g>\n<rect x=\"" << Px(left) << "\" y=\"" << Px(b.plotTop) << "\" width=\"" << Px(L.PlotWidth(b))
      << "\" height=\"" << Px(plotH) << "\" fill=\"none\" stroke=\"#888888\"/>\n"
      << labels.str();
    if (k + 1 == L.Bands().size()) {
      o << "<text x=\"" << Px(left + L.PlotWidth(b) / 2) << "\" y=\"" << Px(p.legendTop - 12)
        << "\" text-anchor=\"middle\">screen angle (degrees)</text>\n"
        << "<text transform=\"translate(18 " << Px(b.plotTop + plotH / 2)
        << ") rotate(-90)\" text-anchor=\"middle\">height</text>\n";
    }
  }

  // The area the rig must cover: a dashed border (only its top and bottom
  // when it goes all the way round).
  const ScreenExtent& e = r.scene.extent;
  if (e.angles || e.heights) {
    const double bottom = e.heights ? (*e.heights)[0] : L.HeightBottom();
    const double top = e.heights ? (*e.heights)[1] : L.HeightTop();
    const std::string style = "fill=\"none\" stroke=\"#222222\" stroke-width=\"2\" stroke-dasharray=\"10 4 2 4\"";
    double from = 0, width = 360;
    if (e.angles) {
      from = (*e.angles)[0];
      width = std::fmod((*e.angles)[1] - from, 360.0);
      if (width < 0) width += 360.0;
      if (width == 0) width = 360;
    }
    o << "<g id=\"screen-extent\">\n";
    if (width >= 360) {
      for (const UnrolledBand& b : L.Bands()) {
        for (double h : {bottom, top}) {
          DrawInBands(o, p, {{static_cast<float>(b.angleFrom), static_cast<float>(h)},
                             {static_cast<float>(b.angleTo), static_cast<float>(h)}},
                      false, style);
        }
      }
    } else {
      const float f = static_cast<float>(from), t = static_cast<float>(from + width);
      const float b = static_cast<float>(bottom), u = static_cast<float>(top);
      DrawInBands(o, p, {{f, b}, {t, b}, {t, u}, {f, u}}, true, style);
    }
    o << "</g>\n";
  }
}

}  // namespace rig
