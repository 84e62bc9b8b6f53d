// The module's angle constants and its one degrees-to-radians conversion.
// The module works with pi rounded to a float (3.1415927f, exactly
// 3.1415927410125732 as a double) everywhere, in float and in double
// arithmetic alike, so that its results keep the same bits on every
// evaluation method. The rig program's own analyses use the true pi
// (rig/analyses/Degrees.h).
#pragma once

#include "numeric/FloatRounding.h"

// pi rounded to the nearest float.
constexpr float kSinglePrecisionPi = 3.14159265358979323846f;
// The same value held in a double (for conversions formed in double).
constexpr double kSinglePrecisionPiAsDouble = static_cast<double>(kSinglePrecisionPi);
// Twice that float: exact, a float's doubling only changes its exponent.
constexpr float kSinglePrecisionTwoPi = 2.0f * kSinglePrecisionPi;

static_assert(kSinglePrecisionPi == 3.1415927f && kSinglePrecisionPiAsDouble == 3.1415927410125732 &&
                  kSinglePrecisionTwoPi == 6.2831855f,
              "the module's pi must keep its bits");

// Degrees to radians as the whole module converts them: product and
// quotient formed in double with the single-precision pi, rounded once to a
// float.
inline float SinglePrecisionRadians(float degrees) {
  return RoundToFloat(static_cast<double>(degrees) * kSinglePrecisionPiAsDouble / 180.0);
}
