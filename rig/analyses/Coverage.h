// How the projectors' footprints cover the screen, worked out on the
// unrolled cylinder: where neighbouring footprints overlap (the blend
// zones) and how wide, where neighbours fail to meet (a dark seam) and how
// narrow the gap is, and which parts of the area the rig must cover no
// projector lights.
//
// Coordinates: the unrolled screen, screen angle in degrees (0 toward +Z,
// growing toward +X) and height in scene lengths. A single point ("where")
// has its angle in [-180, 180). An outline is in one piece: its angles are
// continuous, so an outline across the +-180 line runs past 180 (or below
// -180) rather than jumping; draw it shifted by whole turns as needed.
// Areas and widths are in scene lengths (squared): one degree of screen
// angle is radius * pi / 180 long, so shapes on the unrolled screen are true.
#pragma once

#include <string>
#include <vector>

#include "rig/analyses/ScreenTrace.h"
#include "rig/scene/Scene.h"

namespace rig {

// A box on the unrolled screen. `angleFrom` lies in [-180, 180); the box
// spans `angleTo - angleFrom` degrees toward growing angle (at most 360),
// so `angleTo` may exceed 180: the box then crosses the +-180 line.
struct ScreenBox {
  float angleFrom = 0, angleTo = 0;    // degrees
  float heightFrom = 0, heightTo = 0;  // scene lengths
};

// Which way two footprints meet. Side by side: the seam between them runs
// up the screen, and the width across it is measured along screen angle.
// Stacked (rows): the seam runs along the screen, the width across it is
// measured in height.
enum class SeamDirection { kSideBySide, kStacked };

// Two footprints that overlap: a blend zone.
struct CoverageOverlap {
  int first = 0, second = 0;  // indices into the scene's projectors, first < second
  SeamDirection across = SeamDirection::kSideBySide;
  float area = 0;             // scene lengths squared
  // The width across the seam, scene lengths: for footprints side by side,
  // on each height line that meets both, how far their stretches of that
  // line overlap (the blend zone's width at that height); stacked, the same
  // on each line of constant screen angle, in height. Minimum and maximum
  // over 64 lines spread evenly over the band both footprints share (side
  // by side: within the extent's heights when given), leaving out lines
  // where either facing edge runs at less than 45 degrees to the seam (they
  // cross a curved top or bottom edge, not the seam). A
  // negative minimum means that somewhere in that band the two part (their
  // edges slant apart, typically at a top or bottom corner), leaving a gap
  // that wide. `...Degrees`: the same divided by the radius, in degrees of
  // screen angle. Footprints that overlap only at a corner (no line meets
  // both) take the overlap region's own extent across the seam.
  float minWidth = 0, maxWidth = 0;
  float minWidthDegrees = 0, maxWidthDegrees = 0;
  UnrolledPoint whereMin{};   // middle of the narrowest line
  ScreenBox bounds;           // the overlap's bounding box
  // The overlap region(s), each an outer outline in one piece.
  std::vector<std::vector<UnrolledPoint>> regions;
};

// Two neighbouring footprints that do not meet: a dark seam. Neighbours:
// some line across the seam (as for overlaps) meets both, the gap is no
// wider than the wider of the two across the seam, and no other footprint
// lights its middle.
struct CoverageGap {
  int first = 0, second = 0;  // indices into the scene's projectors, first < second
  SeamDirection across = SeamDirection::kSideBySide;
  float width = 0;            // narrowest along the lines across the seam, scene lengths
  float widthDegrees = 0;     // the same in degrees of screen angle (width / radius)
  UnrolledPoint where{};      // middle of the shortest line between them
  UnrolledPoint fromPoint{}, toPoint{};  // its ends, on first's and second's outline
};

// A part of the area to cover that no footprint reaches.
struct UncoveredRegion {
  float area = 0;  // scene lengths squared
  ScreenBox bounds;
  std::vector<UnrolledPoint> outline;  // outer outline in one piece
};

struct CoverageReport {
  // The area the rig must cover: the scene's extent where given; a missing
  // angle range is the whole circle when the footprints go all the way
  // round, else the footprints' own angle range; a missing height range is
  // the footprints' own height range. Without any extent only the holes
  // that footprints enclose count as uncovered: nothing says how far the
  // rig must reach.
  ScreenBox area;
  bool wholeCircle = false;      // the area goes all the way round
  bool extentGiven = false;      // area taken (at least in part) from the scene's extent
  float areaSize = 0;            // scene lengths squared
  float coveredSize = 0;         // of it, lit by at least one projector
  std::vector<CoverageOverlap> overlaps;    // ordered by (first, second)
  std::vector<CoverageGap> gaps;            // ordered by (first, second)
  std::vector<UncoveredRegion> uncovered;   // largest first
  float uncoveredSize = 0;                  // sum of their areas
};

// A projector's footprint as the coverage sees it: its traced image border
// on the unrolled screen, in one piece (UnrollOutline).
struct CoverageInput {
  float radius = 0;
  ScreenExtent extent;
  std::vector<std::vector<UnrolledPoint>> footprints;  // one per projector, scene order
};

// Footprints whose outline is degenerate (fewer than three points, no area)
// take part in nothing. Work is near linear in the number of footprints:
// pairs are first pruned by their angle intervals on the circle and height
// ranges.
CoverageReport AnalyseCoverage(const CoverageInput& input);

}  // namespace rig
