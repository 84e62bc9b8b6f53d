// The rig from above, laid out before it is drawn: the screen circle, the
// eye, every projector's position and the light cone from it to its
// footprint's stretch of the screen, each projector numbered (1 = the first
// in the scene; the key under the picture names them).
//
// Seen from above with screen angle 0 (+Z) up the page and +X to the right
// (the scene's frame is left-handed, so this is the view from +Y), screen
// angle growing clockwise. Numbers sit beside their projector when there
// is room, else in rings outside the screen at their footprint's angle.
// The picture grows with the number of projectors so that the rings hold
// every number. Pixels: x right, y down.
#pragma once

#include <vector>

#include "rig/pictures/LabelPlacement.h"
#include "rig/reports/RigReport.h"

namespace rig {

struct PlanLabel {
  int projector = -1;
  LabelBox box;
  bool leader = false;  // drawn with a line to its footprint's middle on the screen
  double anchorX = 0, anchorY = 0;
};

struct PlanView {
  double centreX = 0, centreY = 0;  // the screen's axis
  double scale = 1;                 // pixels per scene length
  double screenRadius = 0;          // pixels
  std::vector<int> colours;         // palette index per projector
  std::vector<PlanLabel> labels;    // one per projector with a footprint
  std::vector<LabelBox> fixedMarks; // eye, angle marks: labels keep clear
  double keyTop = 0;
  double width = 0, height = 0;

  double X(double sceneX) const { return centreX + sceneX * scale; }
  double Y(double sceneZ) const { return centreY - sceneZ * scale; }
};

PlanView LayOutPlanView(const RigReport& report);

}  // namespace rig
