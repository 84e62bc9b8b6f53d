#include "rig/pictures/RigPicture.h"

#include <sstream>

#include "rig/output/StagedFile.h"
#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/SvgText.h"
#include "rig/pictures/UnrolledPicture.h"

namespace rig {

std::string RigPictureSvg(const RigReport& report) {
  const UnrolledPicture picture = PlanUnrolledPicture(report);
  std::ostringstream o;
  o << SvgHeader(picture.width, picture.height);
  DrawAxes(o, picture, report);
  DrawFootprints(o, picture, report);
  DrawCoverage(o, picture, report);
  DrawEye(o, picture, report);
  DrawCalibrations(o, picture, report);
  DrawLabels(o, picture);
  DrawLegend(o, picture, report);
  o << "</svg>\n";
  return o.str();
}

void WriteRigPicture(const RigReport& report, const std::string& path) {
  WriteFileWhole(path, RigPictureSvg(report));
}

}  // namespace rig
