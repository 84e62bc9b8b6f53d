// The one check of a rig's values, whichever way the rig came in: a scene
// file (the reader checks the JSON's shape, then this), a saved project
// (`load`), or any later command. Same limits, same messages.
//
// Each value has an interval in which the geometry means something and the
// 32-bit arithmetic stays finite; outside it the value is refused rather
// than run into NaN or nonsense. Lengths are bounded relative to the screen
// radius (whatever the unit), angles by the geometry:
//   radius                      1e-3 .. 1e6 (any unit: lengths squared stay
//                               far inside the float range)
//   other lengths (heights,     |x| <= 1000 radii; a projector's distance
//   camera position)            from 0.001 to 1000 radii
//   screen angles (aims, roll)  -360 .. 360 degrees
//   projection angles           -85 .. 85 degrees: at 90 the projector lies
//                               in the screen's tangent plane
//   fields of view              0.1 .. 170 degrees: the pinhole image's
//                               half width tan(fov/2) stays below 12
//   keystone                    -4 .. 4 half image heights (two image heights
//                               of lens shift, beyond any projector's lens)
//   image sizes                 whole pixels, 1 .. 1000000
//   shifts                      -1 .. 1 projector image widths/heights
//   camera points               inside the measuring camera's image
//   calibration ranges          minimum <= maximum, both inside the
//                               parameter's own interval
//   names                       1 .. 200 bytes of valid UTF-8 without
//                               control characters, unique
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "rig/scene/Scene.h"

namespace rig {

struct ValueInterval {
  float low = 0.0f, high = 0.0f;  // both included
};

constexpr int kMaxPixels = 1000000;
constexpr std::size_t kMaxNameBytes = 200;

// Parameter k's interval (k in 0..8, the module's order) on a screen of
// `radius`.
ValueInterval ParameterInterval(int k, float radius);

// The scene file's name of parameter k, as a message shows it
// ("\"distance\"", "\"field_of_view\"[0]").
std::string ParameterLabel(int k);

// Whether `value` is a whole number of pixels from 1 to kMaxPixels (so that
// converting it to int is exact and defined).
bool IsWholePixelCount(double value);

// Why `name` cannot name a projector, or nothing: empty, too long, not
// valid UTF-8, or holding a control character.
std::optional<std::string> NameProblem(const std::string& name);

struct SceneProblem {
  // The value's place in a scene file, a JSON pointer ("/projectors/2/distance").
  std::string pointer;
  // What is wrong and what is expected, naming the value and its owner.
  std::string message;
};

// The first value of `scene` outside its interval, in file order, or nothing.
std::optional<SceneProblem> FindSceneProblem(const Scene& scene);

// Throws RigError (bad input) with where(problem.pointer) + problem.message
// for the first problem of `scene`.
void ValidateScene(const Scene& scene, const std::function<std::string(const std::string&)>& where);

}  // namespace rig
