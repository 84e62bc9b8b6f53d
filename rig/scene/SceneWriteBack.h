// --write-back: a copy of a scene file with each refined projector's
// searched parameters replaced by their refined values, in the scene
// file's own keys and units (degrees, scene lengths, half image heights).
#pragma once

#include <string>

namespace rig {

struct RigReport;

// The copy of the scene text `sceneText` (read from `scenePath`, named in
// messages) to be written for --write-back. For every calibration of
// `report` that has a refinement, the searched parameters of its projector
// get the refined values, each written in the shortest decimal form that
// reads back as the same float; everything else keeps its value, keys keep
// their order. The calibration entries of those projectors are left out of
// the copy: their shifts were measured against the old values, and the
// module rebuilds its targets from the starting values, so running the
// copy's calibration again would walk the projector away from where it was
// refined to. Throws RigError (bad input) when the text is not a scene.
std::string RefinedSceneText(const std::string& sceneText, const std::string& scenePath,
                             const RigReport& report);

}  // namespace rig
