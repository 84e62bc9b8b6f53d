// Every placed text: projector names or numbers (with a leader line when
// they sit in a row outside the plot), the eye's look-at, the calibration
// points' numbers and the seams' narrowest widths. Each text is drawn
// centred in the box the planner gave it, on a white backing so lines
// under it do not garble it.
#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/pictures/SvgText.h"

namespace rig {

void DrawLabels(std::ostream& o, const UnrolledPicture& p) {
  o << "<g id=\"labels\">\n";
  for (const PlacedText& t : p.texts) {
    const LabelBox& b = t.box;
    const double cx = (b.x0 + b.x1) / 2, baseline = b.y1 - 3.5;
    std::string colour = "#000000", weight = "normal", size = "12";
    if (t.role == TextRole::kProjector) {
      colour = PaletteColour(p.colours[t.owner]);
      weight = "bold";
      size = "11";
    } else if (t.role == TextRole::kCalibrationPoint) {
      colour = "#c00000";
      size = "11";
    } else if (t.role == TextRole::kSeam) {
      size = "10";
      colour = t.text.compare(0, 3, "gap") == 0 ? "#b00000" : "#333333";
    }
    if (t.leader) {
      const double y = t.anchorY < b.y0 ? b.y0 : b.y1;
      o << "<line x1=\"" << Px(cx) << "\" y1=\"" << Px(y) << "\" x2=\"" << Px(t.anchorX) << "\" y2=\"" << Px(t.anchorY)
        << "\" stroke=\"" << colour << "\" stroke-width=\"0.6\" stroke-opacity=\"0.7\"/>\n";
    }
    o << "<rect class=\"label-box\" x=\"" << Px(b.x0) << "\" y=\"" << Px(b.y0) << "\" width=\"" << Px(b.x1 - b.x0)
      << "\" height=\"" << Px(b.y1 - b.y0) << "\" fill=\"#ffffff\" fill-opacity=\"0.75\"/>\n"
      << "<text x=\"" << Px(cx) << "\" y=\"" << Px(baseline) << "\" text-anchor=\"middle\" font-size=\"" << size
      << "\" font-weight=\"" << weight << "\" fill=\"" << colour << "\">" << SvgEscape(t.text) << "</text>\n";
  }
  o << "</g>\n";
}

}  // namespace rig
