// Deterministic bounded search over a list of 32-bit float parameters, one
// at a time: a scan of eleven samples across the range, then a bisection
// around the best one. Units are the caller's; lower error is better.
#pragma once

#include "tweaker/TweakEntry.h"

#include <vector>

// An abstract optimiser. A subclass supplies ComputeError, which must read
// the parameters through the same floats that the entries point at, so that
// it sees every probe value. The list is filled (after ClearParameters, if
// it held entries) before Tweak runs and is not changed while it runs.
//
// Every value the search stores — scan position, step, window ends and
// midpoints — and every error it compares is rounded to a 32-bit float
// (RoundToFloat), so the search runs the same with x87 arithmetic.
// Midpoints are formed in double and rounded once (FloatMidpoint), so two
// finite ends never give an infinite midpoint. No random numbers, no clock: the same list, values and
// error function give the same probes and results bit for bit.
//
// Termination at the edge of float resolution. Two rules make both loops
// stop on every input while leaving every run that stops without them
// exactly as it was:
//  - Scan: when the next position is not strictly greater than the current
//    one (the step is lost to rounding at the position's magnitude, or
//    infinite arithmetic gave NaN), the next position is maxVal, and that
//    probe is the scan's last even if maxVal is NaN. Without the rule the
//    position would never change again and the scan would not end.
//  - Bisection: when the end that is about to move already equals the
//    midpoint (the window cannot shrink any more at float resolution, which
//    for finite ends happens only at magnitudes of 16384 and more, where the
//    float spacing exceeds the 0.001 target), the loop stops and the value
//    is set to that midpoint, as at its normal end. With an error that
//    depends only on the parameter values, the plain loop would repeat the
//    same state forever. (An error that answers differently for the same
//    values might have let the plain loop escape later; the tweaker assumes
//    the error does not.)
// Through TweakParameter one parameter therefore costs at most
// kMaxEvaluationsPerParameter error evaluations: at most 17 scan probes (a
// step under 1.5 float spacings still advances by one spacing, so at most 15
// advances over ten steps, plus the first probe and the one at maxVal; 11 or
// 12 whenever the step spans many spacings), 2 probes of the window's ends,
// and at most 140 halvings (a window no wider than twice the float range,
// 2^129, halved down to 0.001).
// Ranges with infinite ends end quickly but meaninglessly: with an infinite
// or NaN result, or with "invalid interval" when a window end becomes NaN.
// NaN ends give a NaN step and so "invalid interval size" before any probe.
//
// Entries whose value pointer is null have nothing to move: Tweak skips
// them, and TweakParameter, FindBestInterval and TweakInInterval return at
// once for them, without checks and without calling ComputeError (the two
// that return a value return NaN; FindBestInterval leaves low and high as
// they were).
//
// Failures throw TweakerError (a std::exception) with a fixed message and
// are not caught here. Tweak, and every error evaluation it makes, allocate
// nothing.
class ParameterTweaker {
 public:
  // The most error evaluations TweakParameter makes for one entry, on any
  // range and any error function (derivation above); Tweak makes at most
  // this many per entry.
  static constexpr int kMaxEvaluationsPerParameter = 17 + 2 + 140;

  ParameterTweaker() = default;

  // Appends a copy of the entry.
  void AddParameter(TweakEntry entry);

  // Removes every entry. The values they pointed at are untouched.
  void ClearParameters();

  // One sweep: TweakParameter on each entry from index 0 to the last, once,
  // results discarded. An entry searched early is not revisited after later
  // ones have moved. Each entry's search starts again at its minVal, so
  // Tweak may run again on the same list. On a failure the entries before
  // the failing one keep their new values, the failing one is unchanged and
  // the later ones are untouched.
  void Tweak();

  // Searches one entry: step = (maxVal - minVal) / 10, the difference and
  // the quotient each rounded to float, then FindBestInterval with that
  // step and TweakInInterval on the window it found. Returns the final
  // value, which it also leaves in *entry.value. Throws "invalid interval
  // size" when the step is not greater than 0 (equal ends, NaN ends, or a
  // width so small that a tenth of it rounds to 0), before any probe.
  float TweakParameter(const TweakEntry& entry);

  // The coarse scan's step for a range: (maxVal - minVal) / kScanStepsPerRange,
  // the difference and the quotient each rounded to float.
  static constexpr float kScanStepsPerRange = 10.0f;
  static float ScanStep(float minVal, float maxVal);

  // The coarse scan. Probes minVal, minVal + intervalSize, ... (each
  // position rounded to float, the last one cut back to maxVal) and ends
  // with a probe at maxVal, which the value then holds. The first sample is
  // always taken as best (as is any sample while the best error still
  // equals the 1e9 starting mark); after that only a strictly lower error
  // replaces it, so among equal errors the earliest sample wins and a NaN
  // error never replaces a best (but a NaN first sample stays best, as
  // nothing compares lower than it). Writes the window [best - intervalSize,
  // best + intervalSize], clamped to the range, into low and high. Throws
  // "invalid interval size", before any probe, unless intervalSize > 0.
  // A direct caller's step sets the cost: about (maxVal - minVal) /
  // intervalSize + 1 probes, never more than the floats in the range.
  void FindBestInterval(const TweakEntry& entry, float intervalSize, float& low,
                        float& high);

  // The bisection inside [low, high]. Probes low, then high, then halves
  // the window while it is wider than 0.001 (the float constant 0.001,
  // compared as a double: 0.0010000000474974513). The high end moves to the
  // midpoint only when its error is strictly greater than the low end's;
  // otherwise, on equal errors or when either is NaN, the low end moves.
  // Each move probes the new end. The result is the midpoint of the last
  // window, left in *entry.value and returned. Throws "invalid interval",
  // before any probe, unless minVal <= low <= high <= maxVal.
  float TweakInInterval(const TweakEntry& entry, float low, float high);

  // The error of the current parameter values; lower is better. The search
  // only compares results, so any float, NaN included, is acceptable.
  virtual float ComputeError() = 0;

 protected:
  // Not virtual: an owner destroys a tweaker through its most derived type,
  // never through this base.
  ~ParameterTweaker() = default;

  // The list, in insertion order. The tweaker holds no other state.
  std::vector<TweakEntry> parameters;
};
