// Reads a scene file (JSON) into a Scene, checking that every value has a
// physical meaning. The format, key by key with units and defaults, is in
// the README ("Scene files") and examples/four-projectors.json.
#pragma once

#include <string>

#include "rig/scene/Scene.h"

namespace rig {

// Reads and checks the scene in `path`. Throws RigError (bad input) naming
// the file, the line and column, what is wrong and what was expected:
// unreadable file, JSON syntax, a missing or unknown key, a value of the
// wrong type, a value without physical meaning (radius <= 0, a field of
// view outside (0, 180), a distance <= 0, not exactly eight shifts, a
// range whose minimum exceeds its maximum, a calibration of an unknown
// projector or a second one of the same projector).
Scene ReadSceneFile(const std::string& path);

// The bytes of the scene file `path`; throws RigError (bad input) when it
// cannot be read.
std::string ReadSceneBytes(const std::string& path);

// The same for scene text already in memory; `fileName` heads the messages.
Scene ReadSceneText(const std::string& text, const std::string& fileName);

}  // namespace rig
