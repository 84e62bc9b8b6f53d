// Each projector's footprint, filled half-transparently in its colour, the
// top edge of its image drawn thick (which way up the image is), and its
// aim point as a small cross.
#include <algorithm>
#include <sstream>

#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/pictures/SvgText.h"

namespace rig {
namespace {

// The element with id="..." first, its copies (other bands, the other side
// of a cut) after it without one.
std::string WithIdOnFirst(const std::string& shapes, const std::string& id) {
  const std::size_t at = shapes.find(' ');
  if (at == std::string::npos) return shapes;
  return shapes.substr(0, at) + " id=\"" + id + "\"" + shapes.substr(at);
}

}  // namespace

void DrawFootprints(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  o << "<g id=\"footprints\">\n";
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const char* colour = PaletteColour(p.colours[i]);
    std::ostringstream shapes;
    DrawInBands(shapes, p, r.projectors[i].unrolled, true,
                std::string("fill=\"") + colour + "\" fill-opacity=\"0.35\" stroke=\"" + colour +
                    "\" stroke-width=\"1.5\"");
    o << WithIdOnFirst(shapes.str(), "footprint-" + std::to_string(i));
  }
  o << "</g>\n<g id=\"top-edges\">\n";
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const char* colour = PaletteColour(p.colours[i]);
    DrawInBands(o, p, p.topEdges[i], false,
                std::string("fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"4\" stroke-linecap=\"butt\"");
  }
  o << "</g>\n<g id=\"aim-points\" stroke=\"#111111\" stroke-width=\"1.5\">\n";
  for (std::size_t i = 0; i < p.aims.size(); ++i) {
    const UnrolledPoint a = p.aims[i];
    // A cross no wider than a fifth of its footprint, so narrow footprints
    // side by side do not merge their crosses into a line.
    const double wide = (r.projectors[i].angleTo - r.projectors[i].angleFrom) * 3.14159265358979323846 / 180.0 *
                        r.scene.radius * p.layout.Scale();
    const double half = std::min(4.0, std::max(1.5, 0.2 * wide));
    const std::vector<UnrolledBand>& bands = p.layout.Bands();
    for (std::size_t k = 0; k < bands.size(); ++k) {
      for (double turn : p.layout.TurnsInto(bands[k], a.angle, a.angle)) {
        const double x = p.layout.X(bands[k], a.angle + turn), y = p.layout.Y(bands[k], a.height);
        o << "<path d=\"M" << Px(x - half) << "," << Px(y) << "h" << Px(2 * half) << "M" << Px(x) << "," << Px(y - half)
          << "v" << Px(2 * half) << "\"/>\n";
      }
    }
  }
  o << "</g>\n";
}

}  // namespace rig
