#include "rig/scene/DefaultRig.h"

#include "rig/analyses/SimulatedShifts.h"

namespace rig {

ProjectorParameters DefaultRigTruth(const ProjectorParameters& planned) {
  ProjectorParameters t = planned;
  t.ProjLookatAngX += 2.5f;
  t.ProjLookatHeight += 0.12f;
  t.ProjFovX += 3.0f;
  t.ProjRoll += 1.5f;
  return t;
}

Scene DefaultRig() {
  Scene s;
  s.radius = 5.0f;
  s.camera.position = {0.0f, 1.5f, -0.3f};
  s.camera.aimAngle = 0.0f;
  s.camera.aimHeight = 1.5f;
  s.camera.fovX = 100.0f;
  s.camera.fovY = 67.4f;
  s.camera.imageSize = std::array<int, 2>{1920, 1080};
  // Aimed 38 degrees apart, mounted above their aim height and tilted down
  // 8 degrees, 3.2 from the screen, with a 60 x 40 degree lens.
  const char* names[3] = {"left", "centre", "right"};
  const float angles[3] = {-38.0f, 0.0f, 38.0f};
  for (int i = 0; i < 3; ++i) {
    Projector p;
    p.name = names[i];
    p.parameters = {angles[i], 1.5f, 0.0f, 8.0f, 3.2f, 60.0f, 40.0f, 0.0f, 0.0f};
    s.projectors.push_back(p);
  }
  Calibration c;
  c.projector = "centre";
  const ProjectorParameters& planned = s.projectors[1].parameters;
  c.shifts = SimulateShifts(s, planned, DefaultRigTruth(planned));
  for (int k = 0; k < kProjectorParameterCount; ++k) c.ranges[k] = DefaultRange(planned, k);
  using namespace projector_parameter;
  c.searchMask = ParameterBit(kLookatAngX) | ParameterBit(kLookatHeight) | ParameterBit(kFovX) |
                 ParameterBit(kRoll);
  s.calibrations.push_back(c);
  return s;
}

}  // namespace rig
