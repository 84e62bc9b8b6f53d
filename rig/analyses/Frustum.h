// A view frustum in the form multi-projector display systems exchange: a
// view direction (yaw, pitch, roll) and the angles of the four side planes
// from it. All angles in degrees. Yaw is the azimuth from +Z toward +X (the
// screen-angle sense), pitch is positive upward, roll is 0 here (the eye is
// never rolled). `left` and `right` are the horizontal angles of the side
// planes from the view axis, positive to the right (left is usually
// negative); `down` and `up` likewise vertically, positive upward.
#pragma once

#include <vector>

#include "host/d3dx/D3DXMath.h"

namespace rig {

struct Frustum {
  float yaw = 0, pitch = 0, roll = 0;
  float left = 0, right = 0, down = 0, up = 0;
  // False when some point lies on or behind the eye's plane: no frustum
  // looking that way holds it, and the side angles are not meaningful.
  bool holdsAll = true;
};

// The eye's frustum as the camera mode frames it: looking from `eye` at
// `lookAt`, symmetric, the mode's field of view (horizontal, vertical
// degrees) split evenly to both sides.
Frustum SymmetricFrustum(D3DXVECTOR3 eye, D3DXVECTOR3 lookAt, D3DXVECTOR3 fieldOfView);

// The smallest off-axis frustum from `eye`, looking at `aim`, that holds
// every point: each point's horizontal angle atan2(x, z) and vertical angle
// atan2(y, z) in the view frame (x right, y up, z along the view) bound the
// side planes. Computed in double.
Frustum FrustumAround(D3DXVECTOR3 eye, D3DXVECTOR3 aim, const std::vector<D3DXVECTOR3>& points);

}  // namespace rig
