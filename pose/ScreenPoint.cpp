#include "pose/ScreenPoint.h"

#include <cmath>

#include "numeric/FloatRounding.h"

ScreenAngleAndHeight ScreenPointOf(D3DXVECTOR3 point) {
  // The pose model turns degrees into radians with the single-precision π;
  // dividing by the same value makes the round trip as close as floats allow.
  constexpr double kPi = 3.1415927410125732;
  const double radians =
      RoundToDouble(std::atan2(static_cast<double>(point.x), static_cast<double>(point.z)));
  const double scaled = RoundToDouble(radians * 180.0);
  return ScreenAngleAndHeight{RoundToFloat(scaled / kPi), point.y};
}
