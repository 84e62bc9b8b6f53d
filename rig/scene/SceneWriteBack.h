// --write-back: a copy of a scene file with each refined projector's
// searched parameters replaced by their refined values, in the scene
// file's own keys and units (degrees, scene lengths, half image heights).
#pragma once

#include <string>

namespace rig {

struct RigReport;

// Reads the scene file `scenePath` again and writes the copy to `outPath`
// (which may name the scene file itself: the user asked for it). For every
// calibration of `report` that has a refinement, the searched parameters of
// its projector get the refined values, each written in the shortest
// decimal form that reads back as the same float; everything else keeps
// its value, keys keep their order. The calibration entries of those
// projectors are left out of the copy: their shifts were measured against
// the old values, and the module rebuilds its targets from the starting
// values, so running the copy's calibration again would walk the projector
// away from where it was refined to. Throws RigError (bad input) when the
// scene cannot be read, (failed write) when the copy cannot be written; the
// copy is written whole or not at all.
void WriteBackRefinedScene(const std::string& scenePath, const RigReport& report,
                           const std::string& outPath);

// The copy's text for the scene text `sceneText` (read from `scenePath`,
// which heads the messages).
std::string RefinedSceneText(const std::string& sceneText, const RigReport& report,
                             const std::string& scenePath);

}  // namespace rig
