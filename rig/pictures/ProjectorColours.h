// Colours for the projectors' footprints that stay apart where it matters:
// two footprints that overlap or nearly touch (their boxes on the unrolled
// screen, screen angle taken round the circle) never share a colour. A
// greedy colouring in order around the circle, each projector taking among
// the colours its neighbours leave free the one used least so far, so the
// palette is spread over the whole rig rather than two colours alternating.
#pragma once

#include <string>
#include <vector>

namespace rig {

// A footprint's box: screen angles from `angleFrom` toward growing angle
// up to `angleTo` (degrees, unwrapped; at most a turn apart), heights in
// scene lengths.
struct FootprintBox {
  double angleFrom = 0, angleTo = 0;
  double heightFrom = 0, heightTo = 0;
};

// The palette: colours that differ in hue and lightness, legible on white.
int PaletteSize();
const char* PaletteColour(int index);  // index taken modulo PaletteSize()

// One palette index per footprint. Footprints within `angleMargin` degrees
// and `heightMargin` scene lengths of each other count as neighbours. When a
// footprint has more neighbours than the palette has colours, it takes the
// colour least used among them.
std::vector<int> ColourFootprints(const std::vector<FootprintBox>& boxes, double angleMargin,
                                  double heightMargin);

struct RigReport;

// The report's projectors coloured as every picture shows them: neighbours
// within a degree across, or a fiftieth of the rig's height up and down.
std::vector<int> ProjectorColours(const RigReport& report);

}  // namespace rig
