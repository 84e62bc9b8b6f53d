// What the coverage found, over the footprints: each overlap filled by its
// narrowest width (dark purple narrow, yellow wide), the parts of the area
// to cover that no projector lights hatched red, and each seam's narrowest
// overlap (a black bar across the seam) or gap (a red line across it).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/SvgText.h"

namespace rig {

std::string OverlapColour(double degrees, double widest) {
  // Five stops of a perceptually even scale from dark purple to yellow.
  static const int kStops[5][3] = {{68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98}, {253, 231, 37}};
  double t = widest > 0 && std::isfinite(degrees) ? degrees / widest : 0;
  t = std::min(std::max(t, 0.0), 1.0) * 4;
  const int i = std::min(static_cast<int>(t), 3);
  const double f = t - i;
  char text[8];
  int c[3];
  for (int k = 0; k < 3; ++k) c[k] = static_cast<int>(std::lround(kStops[i][k] + (kStops[i + 1][k] - kStops[i][k]) * f));
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c[0] & 0xff, c[1] & 0xff, c[2] & 0xff);
  return text;
}

void DrawCoverage(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  const CoverageReport& c = r.coverage;
  o << "<g id=\"overlaps\">\n";
  for (const CoverageOverlap& v : c.overlaps) {
    const std::string colour = OverlapColour(v.minWidthDegrees, p.widestOverlap);
    for (const std::vector<UnrolledPoint>& region : v.regions) {
      DrawInBands(o, p, region, true,
                  "fill=\"" + colour + "\" fill-opacity=\"0.8\" stroke=\"#333333\" stroke-width=\"0.5\"");
    }
  }
  o << "</g>\n<g id=\"uncovered\">\n";
  for (const UncoveredRegion& u : c.uncovered) {
    DrawInBands(o, p, u.outline, true, "fill=\"url(#uncovered-hatch)\" stroke=\"#c00000\" stroke-width=\"1\"");
  }
  o << "</g>\n<g id=\"seams\">\n";
  for (const CoverageOverlap& v : c.overlaps) {
    // The bar spans the narrowest width across the seam, centred where it is.
    const double half = 0.5 * v.minWidth;
    const double radius = r.scene.radius > 0 ? r.scene.radius : 1;
    const UnrolledPoint w = v.whereMin;
    std::vector<UnrolledPoint> bar;
    if (v.across == SeamDirection::kSideBySide) {
      const float da = static_cast<float>(half / radius * 180.0 / 3.14159265358979323846);
      bar = {{w.angle - da, w.height}, {w.angle + da, w.height}};
    } else {
      bar = {{w.angle, static_cast<float>(w.height - half)}, {w.angle, static_cast<float>(w.height + half)}};
    }
    DrawInBands(o, p, bar, false, v.minWidth < 0 ? "stroke=\"#d00000\" stroke-width=\"3\"" : "stroke=\"#000000\" stroke-width=\"3\"");
  }
  for (const CoverageGap& g : c.gaps) {
    DrawInBands(o, p, {g.fromPoint, g.toPoint}, false, "stroke=\"#d00000\" stroke-width=\"3\"");
    const UnrolledPoint w = g.where;
    for (std::size_t k = 0; k < p.layout.Bands().size(); ++k) {
      const UnrolledBand& b = p.layout.Bands()[k];
      for (double turn : p.layout.TurnsInto(b, w.angle, w.angle)) {
        o << "<circle cx=\"" << Px(p.layout.X(b, w.angle + turn)) << "\" cy=\"" << Px(p.layout.Y(b, w.height))
          << "\" r=\"5\" fill=\"none\" stroke=\"#d00000\" stroke-width=\"2\"/>\n";
      }
    }
  }
  o << "</g>\n";
}

}  // namespace rig
