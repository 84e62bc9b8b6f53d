// Reads a scene file (JSON) into a Scene, checking that every value has a
// physical meaning. The format, key by key with units and defaults, is in
// the README ("Scene files") and examples/four-projectors.json.
#pragma once

#include <string>

#include "rig/scene/Scene.h"

namespace rig {

// Reads and checks the scene in `path`. Throws RigError (bad input) naming
// the file, the line and column, what is wrong and what was expected:
// unreadable file, JSON syntax, nesting deeper than kMaxNestingDepth, a
// missing or unknown key, a value of the wrong type, then every value
// outside its interval through ValidateScene (rig/scene/SceneValidation.h),
// the same check `load` makes. Default ranges are cut to their parameter's
// interval.
Scene ReadSceneFile(const std::string& path);

// The bytes of the scene file `path`; throws RigError (bad input) when it
// cannot be read.
std::string ReadSceneBytes(const std::string& path);

// The same for scene text already in memory; `fileName` heads the messages.
Scene ReadSceneText(const std::string& text, const std::string& fileName);

}  // namespace rig
