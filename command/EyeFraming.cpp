#include "command/EyeFraming.h"

#include <cmath>

#include "command/EyeViewAngles.h"
#include "host/vistrel/Oru_Vistrel.h"

namespace eye_view {

EyeFraming FrameScreenPoints(D3DXVECTOR3 camera, float radius,
                             const std::vector<D3DXVECTOR3>& points) {
  D3DXVECTOR2 lo, hi;
  FindAngularBounds(CalcViewAngles(camera, points), lo, hi);
  const float m = CentralAzimuth(lo.x, hi.x);
  const float fx = 2.0f * std::fabs(WrapAngleDifference(m, lo.x));

  // The vertical plane through the camera that holds the central azimuth:
  // its normal is d0 x (0, 1, 0), horizontal and of unit length.
  const D3DXVECTOR3 d0 = GetDirectionFromAngles(m, 0.0f);
  const D3DXVECTOR3 normal(-d0.z, 0.0f, d0.x);
  FindAngularBounds(CalcViewAngles(camera, ProjectPointsOntoPlane(camera, normal, points)), lo,
                    hi);
  const float e = (lo.y + hi.y) * 0.5f;
  const float fy = 2.0f * std::fabs(WrapAngleDifference(e, lo.y));

  const D3DXVECTOR3 direction = GetDirectionFromAngles(m, e);
  EyeFraming framing;
  framing.lookAt = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, camera, direction);
  framing.fieldOfView = D3DXVECTOR3((fx * 180.0f) / kPi, (fy * 180.0f) / kPi, 0.0f);
  return framing;
}

}  // namespace eye_view
