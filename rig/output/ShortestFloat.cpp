#include "rig/output/ShortestFloat.h"

#include <charconv>
#include <cstdlib>

namespace rig {

std::string ShortestFloatText(float value) {
  char text[64];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
  return std::string(text, r.ptr);
}

double ShortestFloatDecimal(float value) {
  const std::string text = ShortestFloatText(value);
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace rig
