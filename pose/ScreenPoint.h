// The inverse of the pose model's aim-point rule: the screen angle and height
// that name a scene point. Scene frame: Y up, screen angle 0 toward +Z,
// growing toward +X, in degrees.
#pragma once

#include "host/d3dx/D3DXMath.h"

struct ScreenAngleAndHeight {
  float angle;   // degrees, in [-180, 180]
  float height;  // the point's y
};

// angle = atan2(x, z) in degrees, formed in double and rounded once;
// height = y. For a point on the cylinder of radius R the pose model's
// aim-point rule (R sin a, height, R cos a) gives the point back to within
// float rounding; a point off the cylinder is named by the screen point
// straight out from the axis through it. A point on the axis (x = z = 0)
// has angle 0; NaN coordinates give NaN.
ScreenAngleAndHeight ScreenPointOf(D3DXVECTOR3 point);
