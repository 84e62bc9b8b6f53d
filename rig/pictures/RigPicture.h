// The rig as pictures, self-contained SVG 1.1 that opens in any browser.
//
// The unrolled view (RigPictureSvg): the screen unrolled, screen angle
// across and height up at one scale of scene length, so shapes are true;
// cut where no footprint crosses, wrapped into bands when the rig goes far
// round (UnrolledLayout.h); each projector's footprint in its own colour
// with its aim point and its image's top edge; overlaps coloured by their
// width, uncovered parts hatched, each seam's narrowest overlap or gap; the
// eye's look-at and field of view; each calibration's numbered grid points
// and fitted footprints; labels that never overlap (UnrolledPicture.h); a
// legend and, when projectors are numbered, a key.
//
// The plan view (RigPlanSvg): the screen from above, the eye, each
// projector numbered with its light cone to its footprint.
//
// Elements a test can find by id: "footprint-I" (polygon of projector I, in
// report order; copies in other bands carry no id), "eye-lookat" (circle),
// "eye-view" (polygon), "legend" (group), "warning-I" (text); in the plan,
// "plan-projector-I" (circle) and "plan-eye" (circle).
#pragma once

#include <string>

#include "rig/reports/RigReport.h"

namespace rig {

std::string RigPictureSvg(const RigReport& report);
std::string RigPlanSvg(const RigReport& report);

// Write a picture whole or not at all; throw RigError (kExitWriteFailed)
// naming `path` when they cannot.
void WriteRigPicture(const RigReport& report, const std::string& path);
void WriteRigPlan(const RigReport& report, const std::string& path);

}  // namespace rig
