// A float parameter that carries its own value together with its closed
// range [minVal, maxVal]. Its first three fields mirror TweakEntry, so an
// owner registers it with a tweaker by copying them (ToTweakEntry).
#pragma once

#include "tweaker/TweakEntry.h"

#include <cstddef>
#include <type_traits>

class BoundedParameter {
 public:
  // Stores the range and points `value` at `storage`. Throws TweakerError
  // "minVal bigger than maxVal" when maxVal < minVal; equal ends are fine.
  // `storage` starts at initialValue when minVal <= initialValue <= maxVal,
  // otherwise at the range's midpoint. A NaN initialValue fails neither
  // comparison and is kept as it is; NaN ends are not rejected here (they
  // fail the search instead, with "invalid interval size").
  BoundedParameter(float minVal, float maxVal, float initialValue);

  // Never copied or moved: a copy would still point at the original's
  // storage.
  BoundedParameter(const BoundedParameter&) = delete;
  BoundedParameter& operator=(const BoundedParameter&) = delete;

  // The entry that lets a tweaker move this parameter's storage in place.
  TweakEntry ToTweakEntry() const { return TweakEntry{minVal, maxVal, value}; }

  float minVal;   // lower end of the range
  float maxVal;   // upper end of the range
  float* value;   // points at storage, for the parameter's whole life
  float storage;  // the current value
};

static_assert(
    std::is_standard_layout<BoundedParameter>::value &&
        offsetof(BoundedParameter, minVal) == offsetof(TweakEntry, minVal) &&
        offsetof(BoundedParameter, maxVal) == offsetof(TweakEntry, maxVal) &&
        offsetof(BoundedParameter, value) == offsetof(TweakEntry, value),
    "a BoundedParameter begins with the fields of a TweakEntry");
