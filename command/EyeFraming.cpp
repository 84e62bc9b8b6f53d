#include "command/EyeFraming.h"

#include <cmath>

#include "command/EyeViewAngles.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "numeric/FloatRounding.h"

namespace eye_view {

EyeFraming FrameScreenPoints(D3DXVECTOR3 camera, float radius,
                             const std::vector<D3DXVECTOR3>& points) {
  D3DXVECTOR2 lo, hi;
  FindAngularBounds(CalcViewAngles(camera, points), lo, hi);
  const float m = CentralAzimuth(lo.x, hi.x);
  const float fx = RoundToFloat(2.0f * std::fabs(WrapAngleDifference(m, lo.x)));

  // The vertical plane through the camera that holds the central azimuth:
  // its normal is d0 x (0, 1, 0), horizontal and of unit length.
  const D3DXVECTOR3 d0 = GetDirectionFromAngles(m, 0.0f);
  const D3DXVECTOR3 normal(-d0.z, 0.0f, d0.x);
  FindAngularBounds(CalcViewAngles(camera, ProjectPointsOntoPlane(camera, normal, points)), lo,
                    hi);
  const float e = RoundToFloat(RoundToFloat(lo.y + hi.y) * 0.5f);
  const float fy = RoundToFloat(2.0f * std::fabs(WrapAngleDifference(e, lo.y)));

  const D3DXVECTOR3 direction = GetDirectionFromAngles(m, e);
  EyeFraming framing;
  framing.lookAt = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, camera, direction);
  framing.fieldOfView = D3DXVECTOR3(RoundToFloat(RoundToFloat(fx * 180.0f) / kPi),
                                    RoundToFloat(RoundToFloat(fy * 180.0f) / kPi), 0.0f);
  return framing;
}

}  // namespace eye_view
