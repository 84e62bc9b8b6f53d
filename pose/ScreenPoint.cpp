#include "pose/ScreenPoint.h"

#include <cmath>

#include "numeric/FloatRounding.h"
#include "numeric/SinglePrecisionAngles.h"

ScreenAngleAndHeight ScreenPointOf(D3DXVECTOR3 point) {
  // The pose model turns degrees into radians with the single-precision π;
  // dividing by the same value makes the round trip as close as floats allow.
  const double radians =
      RoundToDouble(std::atan2(static_cast<double>(point.x), static_cast<double>(point.z)));
  const double scaled = RoundToDouble(radians * 180.0);
  return ScreenAngleAndHeight{RoundToFloat(scaled / kSinglePrecisionPiAsDouble), point.y};
}
