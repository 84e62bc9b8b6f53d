#include "rig/output/JsonFloats.h"

#include <cmath>

#include "rig/output/ShortestFloat.h"

namespace rig {

void ShortenFloats(nlohmann::json& value) {
  if (value.is_structured()) {
    for (nlohmann::json& child : value) ShortenFloats(child);
    return;
  }
  if (!value.is_number_float()) return;
  const double d = value.get<double>();
  const float f = static_cast<float>(d);
  if (std::isfinite(d) && static_cast<double>(f) == d) value = ShortestFloatDecimal(f);
}

}  // namespace rig
