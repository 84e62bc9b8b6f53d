// The rig as a picture: an SVG of the screen unrolled (screen angle across,
// height up, both at the same scale of scene length, so shapes are true),
// with each projector's traced image outline filled half-transparently (so
// overlaps show darker), the eye's look-at and field of view, and for each
// calibration the measured targets, the start and the fitted points; labels
// and a legend. Self-contained SVG 1.1: it opens in any browser.
//
// Elements a test can find by id: "footprint-I" (polygon of projector I, in
// report order), "eye-lookat" (circle), "eye-view" (polygon).
#pragma once

#include <string>

#include "rig/reports/RigReport.h"

namespace rig {

std::string RigPictureSvg(const RigReport& report);

// Writes the picture to `path` whole or not at all (WriteFileWhole).
void WriteRigPicture(const RigReport& report, const std::string& path);

}  // namespace rig
