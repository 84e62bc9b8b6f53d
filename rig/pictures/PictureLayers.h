// The layers of the unrolled picture, drawn in this order, each from the
// planned picture (UnrolledPicture.h) and the report: the axes and the
// screen extent; footprints with their aim points and top edges; the
// coverage (overlaps coloured by width, uncovered parts hatched, each
// seam's narrowest overlap or gap); the eye; calibrations (numbered grid
// points, fitted outlines); labels; the legend and key. Each writes SVG
// elements to `out`.
#pragma once

#include <ostream>

#include "rig/pictures/UnrolledPicture.h"
#include "rig/reports/RigReport.h"

namespace rig {

void DrawAxes(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);
void DrawFootprints(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);
void DrawCoverage(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);
void DrawEye(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);
void DrawCalibrations(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);
void DrawLabels(std::ostream& out, const UnrolledPicture& picture);
void DrawLegend(std::ostream& out, const UnrolledPicture& picture, const RigReport& report);

// The legend's height when drawn `width` pixels wide (what DrawLegend uses).
double LegendHeight(const UnrolledPicture& picture, const RigReport& report, double width);

// The colour of an overlap whose narrowest width is `degrees`, on a scale
// from 0 (dark purple) to `widest` (yellow).
std::string OverlapColour(double degrees, double widest);

// A shape on the unrolled screen drawn in every band it reaches (turned by
// whole turns), clipped to the band: `attributes` go on each polygon (or
// polyline when `closed` is false).
void DrawInBands(std::ostream& out, const UnrolledPicture& picture,
                 const std::vector<UnrolledPoint>& shape, bool closed, const std::string& attributes);

}  // namespace rig
