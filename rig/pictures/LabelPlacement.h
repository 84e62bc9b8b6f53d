// Labels placed so that none covers another or anything already drawn that
// must stay legible (warnings, markers): each label offers candidate boxes
// in order of preference and takes the first that is free. Boxes are in
// picture pixels (x right, y down). Collisions are looked up in a grid of
// square cells, so placing n labels costs about n times the candidates
// each tries, not n squared.
#pragma once

#include <string>
#include <vector>

namespace rig {

struct LabelBox {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x0 <= x1, y0 <= y1
};

// True when the two boxes share more than an edge.
bool BoxesOverlap(const LabelBox& a, const LabelBox& b);

// For each label (in the given order, which is its priority), the index of
// the first of its candidates that overlaps no obstacle and no label placed
// before it, or -1 when none is free. Boxes that are not finite are never
// chosen. `cellSize` (pixels, > 0) should be about a label's height.
std::vector<int> PlaceLabels(const std::vector<std::vector<LabelBox>>& candidates,
                             const std::vector<LabelBox>& obstacles, double cellSize);

// The width of `text` set in a sans-serif face at `fontSize` pixels: an
// upper estimate (0.62 em a character), so a box never falls short of its text.
double TextWidth(const std::string& text, double fontSize);

}  // namespace rig
