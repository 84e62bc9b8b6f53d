// Floats as a person wrote them: the shortest decimal that reads back as the
// same 32-bit float, so a typed -2.6 prints as -2.6, not as the double
// -2.5999999046325684 that the float widens to. Every float the program
// prints (tables, messages, JSON, write-back) goes through here.
#pragma once

#include <string>

namespace rig {

// "-2.6", "1e+30", "inf", "nan": the shortest round-trip text of `value`.
std::string ShortestFloatText(float value);

// The double nearest to that shortest decimal: what a JSON writer printing
// doubles in their own shortest form turns back into the same text. Not
// finite values are returned as they are.
double ShortestFloatDecimal(float value);

}  // namespace rig
