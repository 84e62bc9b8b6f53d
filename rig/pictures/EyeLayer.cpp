// The eye: the border of its field of view on the screen (dashed) and its
// look-at (a black dot).
#include <cmath>
#include <sstream>

#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/SvgText.h"

namespace rig {

void DrawEye(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  const EyeReport& e = r.eye;
  if (e.oneEyeCannotFrame || !std::isfinite(e.lookAtOnScreen.angle) || !std::isfinite(e.lookAtOnScreen.height)) return;
  std::string view;
  {
    std::ostringstream shapes;
    DrawInBands(shapes, p, e.viewOutline, true,
                "fill=\"none\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"");
    view = shapes.str();
  }
  const std::size_t at = view.find(' ');
  if (at != std::string::npos) view = view.substr(0, at) + " id=\"eye-view\"" + view.substr(at);
  o << view;
  double turned = 0;
  const UnrolledBand& b = p.layout.Bands()[p.layout.HomeBand(e.lookAtOnScreen.angle, &turned)];
  o << "<circle id=\"eye-lookat\" cx=\"" << Px(p.layout.X(b, turned)) << "\" cy=\""
    << Px(p.layout.Y(b, e.lookAtOnScreen.height)) << "\" r=\"5\" fill=\"#000000\"/>\n";
}

}  // namespace rig
