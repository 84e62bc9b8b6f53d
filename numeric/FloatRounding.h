// Explicit rounding of a computed value to a 32-bit float (or a double), so
// that geometry and the parameter search give the same bits whatever the
// compiler's evaluation method: SSE2 (FLT_EVAL_METHOD 0) or x87 (2).
//
// Why a helper. With x87 arithmetic every temporary carries 80 bits, and GCC
// 12 in C++ keeps that excess precision through casts, initialisations and
// assignments to float variables ("-fexcess-precision=standard", which would
// round them as the language requires, is not implemented for C++ before
// GCC 13; "-ffloat-store" rounds named variables but not the temporaries
// inside an expression). A value that is compared or stored at 80 bits
// behaves differently: a scan position plus a step lost to rounding still
// compares greater, a float overflow still looks finite. So the code rounds
// every intermediate it means to round through RoundToFloat, one operation
// per call, in the order in which the operations are written.
//
// How. Where the evaluation method already rounds every operation to its
// type (FLT_EVAL_METHOD 0: x86-64, 32-bit x86 with SSE2, every other
// target), the helpers return their argument and cost nothing. Otherwise the
// value goes through a volatile float (double), which the compiler must
// store to memory in that format: one correct rounding from the 80-bit
// value.
//
// Why that is enough for the same bits. For +, -, *, / and sqrt on two
// floats, the 80-bit result rounded to float equals the float operation's
// result (64 significand bits are more than 2 x 24 + 2, so rounding twice
// never differs from rounding once). A double intermediate goes through
// RoundToDouble where the next operation would otherwise see more bits than
// a double; the conversions between degrees and radians then give the same
// float as with SSE2 because their double quotients never lie close enough to
// the midpoint of two floats for the extra bits to matter (checked on every
// float for degrees to radians, on 16 million points for the screen angle).
// Values returned by the C library (sine, arc tangent) are rounded too: on
// 32-bit x86 they come back in an x87 register.
//
// Checked as a whole by scripts/test-m32.sh, which compares the digests of
// many results (tests/digest) between the 64-bit, the 32-bit SSE2 and the
// 32-bit x87 builds.
#pragma once

#include <cfloat>

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0

inline float RoundToFloat(float value) { return value; }
inline double RoundToDouble(double value) { return value; }

#else

inline float RoundToFloat(long double value) {
  const volatile float stored = static_cast<float>(value);
  return stored;
}

inline double RoundToDouble(long double value) {
  const volatile double stored = static_cast<double>(value);
  return stored;
}

#endif
