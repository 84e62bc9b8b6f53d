// One element of the tweaker's parameter list: a closed range and a pointer
// to the 32-bit float that the search moves inside it. Units are whatever
// the governed value uses; the tweaker never interprets them.
#pragma once

#include <type_traits>

// Copied into the list by value. `value` is not owned and must stay valid
// from the moment the entry is added until the last search over the list
// has returned. A null `value` marks an entry with nothing to move; the
// search skips it (see ParameterTweaker.h).
struct TweakEntry {
  float minVal;  // lower end of the range
  float maxVal;  // upper end of the range
  float* value;  // the float that the search writes each probe into
};

static_assert(std::is_standard_layout<TweakEntry>::value,
              "TweakEntry is a plain record whose layout others mirror");
