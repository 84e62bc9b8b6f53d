// JSON numbers as a person wrote them. The reports put 32-bit floats into
// JSON, which holds them widened to doubles (-2.6f as -2.5999999046325684);
// this turns every such number back into the double nearest the float's
// shortest decimal, so that it prints as -2.6 and still reads back as the
// same float.
#pragma once

#include <nlohmann/json.hpp>

namespace rig {

// Rewrites, throughout `value`, each floating-point number that a float
// holds exactly. Numbers no float holds (results computed in double) are
// left alone: they print in their own shortest form already. Depth is that
// of the reports' own trees (a few levels), walked once.
void ShortenFloats(nlohmann::json& value);

}  // namespace rig
