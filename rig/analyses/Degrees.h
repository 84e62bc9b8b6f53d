// Degrees and radians for the program's own analyses (frusta, traced
// outlines, pictures), in double with the true pi. The module and whatever
// must reproduce its numbers use its single-precision pi instead
// (numeric/SinglePrecisionAngles.h).
#pragma once

namespace rig {

constexpr double kPi = 3.14159265358979323846;

constexpr double RadiansOf(double degrees) { return degrees * kPi / 180.0; }
constexpr double DegreesOf(double radians) { return radians * 180.0 / kPi; }

}  // namespace rig
