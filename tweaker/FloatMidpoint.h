// Midpoint of two 32-bit floats, rounded once to a 32-bit float. Used for a
// range's default value and for every bisection midpoint.
#pragma once

#include "numeric/FloatRounding.h"

// (a + b) × 0.5, formed in double and rounded to float at the end. For
// ordinary values this is bit-for-bit the all-float result (the scaling by
// 0.5 is exact), but two finite ends near the top of the float range give
// their true midpoint rather than an overflowed infinity. Infinite or NaN
// ends give the IEEE result: an infinity or NaN.
inline float FloatMidpoint(float a, float b) {
  return RoundToFloat((static_cast<double>(a) + static_cast<double>(b)) * 0.5);
}
