// Everything the unrolled picture draws, decided before a line of SVG is
// written: the layout (cut, bands, scale), a colour per projector, every
// label's text and box, the warnings, the fitted outlines of calibrations,
// and the canvas that holds it all. The SVG writer only draws this, and a
// test can check it: no label box overlaps another, a warning or the edge.
//
// Labels: each projector is labelled by its name where all names fit, else
// every projector by its number (1 = the first in the scene) and the legend
// keys the numbers to names. A label sits inside its footprint when it fits
// there, else in a row of labels above or below its band with a thin
// leader line to the footprint. Pixels: x right, y down, the canvas's.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "rig/pictures/LabelPlacement.h"
#include "rig/pictures/UnrolledLayout.h"
#include "rig/reports/RigReport.h"

namespace rig {

enum class TextRole { kProjector, kEye, kCalibrationPoint, kSeam };

struct PlacedText {
  std::string text;
  TextRole role = TextRole::kProjector;
  int owner = -1;        // projector index (projector labels, seams: first projector)
  LabelBox box;          // canvas pixels; the text is centred in it
  bool leader = false;   // drawn with a line to (anchorX, anchorY)
  double anchorX = 0, anchorY = 0;
};

// A fitted footprint of a calibration: where the fitted values put the image.
struct FittedOutline {
  int projector = -1;
  std::vector<UnrolledPoint> outline;   // in one piece
  std::array<UnrolledPoint, 8> points{};  // the grid points under the fit
};

struct UnrolledPicture {
  explicit UnrolledPicture(UnrolledLayout l) : layout(std::move(l)) {}

  UnrolledLayout layout;
  std::vector<int> colours;           // palette index per projector
  std::vector<UnrolledPoint> aims;    // each projector's aim point on the screen
  std::vector<std::vector<UnrolledPoint>> topEdges;  // each image's top edge
  bool numbered = false;              // labels are numbers keyed in the legend
  std::vector<PlacedText> texts;      // every label placed, all roles
  std::vector<std::string> warnings;
  std::vector<LabelBox> warningBoxes;
  std::vector<FittedOutline> moduleFits, refinedFits;  // per calibration (refined with --refine)
  double widestOverlap = 0;           // degrees: the top of the overlap colour scale
  double legendTop = 0;
  double width = 0, height = 0;       // the canvas

  static constexpr double kTitleHeight = 48, kWarningHeight = 18, kLaneHeight = 15;
  static constexpr double kTickRow = 20, kBandGap = 26, kRightMargin = 30;
  static constexpr double kLabelFont = 11;
};

UnrolledPicture PlanUnrolledPicture(const RigReport& report);

// Where grid point i (0-7, the order of the calibration's shifts: (0.5, 0),
// (1, 0), (1, 0.5), (1, 1), (0.5, 1), (0, 1), (0, 0.5), (0, 0)) lies from
// the image's centre, in image units (u right, v down).
std::array<double, 2> GridPointOffset(int i);

}  // namespace rig
