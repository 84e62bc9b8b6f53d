// Each calibration: the module's fitted footprint (dashed, dark green) and,
// with a refinement, the refined one (dotted, magenta) beside the planned
// footprint; the eight grid points where the start puts them (hollow
// circles), where the camera measured them (red crosses, numbered 0-7 in
// grid order), where the module's fit puts them (green dots) and the
// refined fit (magenta diamonds).
#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/SvgText.h"

namespace rig {
namespace {

constexpr char kModuleFit[] = "#006400";
constexpr char kRefinedFit[] = "#c000c0";

// `draw(x, y)` at every place of the picture where `u` shows.
template <class Draw>
void AtPoint(const UnrolledPicture& p, UnrolledPoint u, Draw draw) {
  for (const UnrolledBand& b : p.layout.Bands()) {
    for (double turn : p.layout.TurnsInto(b, u.angle, u.angle)) draw(p.layout.X(b, u.angle + turn), p.layout.Y(b, u.height));
  }
}

}  // namespace

void DrawCalibrations(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  std::size_t refined = 0;
  for (std::size_t c = 0; c < r.calibrations.size(); ++c) {
    const CalibrationReport& k = r.calibrations[c];
    o << "<g id=\"calibration-" << SvgEscape(k.projector) << "\">\n";
    DrawInBands(o, p, p.moduleFits[c].outline, true,
                std::string("fill=\"none\" stroke=\"") + kModuleFit + "\" stroke-width=\"1.5\" stroke-dasharray=\"7 3\"");
    const FittedOutline* refinedFit = nullptr;
    if (k.refinement && refined < p.refinedFits.size()) {
      refinedFit = &p.refinedFits[refined++];
      DrawInBands(o, p, refinedFit->outline, true,
                  std::string("fill=\"none\" stroke=\"") + kRefinedFit + "\" stroke-width=\"1.5\" stroke-dasharray=\"2 3\"");
    }
    for (int i = 0; i < 8; ++i) {
      AtPoint(p, k.startPoints[i], [&](double x, double y) {
        o << "<circle cx=\"" << Px(x) << "\" cy=\"" << Px(y) << "\" r=\"5\" fill=\"none\" stroke=\"#555555\" stroke-width=\"1.5\"/>\n";
      });
      AtPoint(p, k.targets[i], [&](double x, double y) {
        o << "<path d=\"M" << Px(x - 6) << "," << Px(y - 6) << "l12,12m-12,0l12,-12\" stroke=\"#c00000\" stroke-width=\"2\"/>\n";
      });
      AtPoint(p, k.fittedPoints[i], [&](double x, double y) {
        o << "<circle cx=\"" << Px(x) << "\" cy=\"" << Px(y) << "\" r=\"3\" fill=\"" << kModuleFit << "\"/>\n";
      });
      if (refinedFit) {
        AtPoint(p, refinedFit->points[i], [&](double x, double y) {
          o << "<path d=\"M" << Px(x) << "," << Px(y - 4) << "l4,4l-4,4l-4,-4z\" fill=\"" << kRefinedFit << "\"/>\n";
        });
      }
    }
    o << "</g>\n";
  }
}

}  // namespace rig
