// A per-projector frustum in the exchange format's convention, and the
// mapping between scene points and the normalised coordinates of the image
// rendered through that frustum.
//
// Frames. The scene: Y up, screen angle 0 toward +Z growing toward +X (a
// viewer facing +Z has +X on the right). The format's world: X right, Y
// down, Z forward. The exporter maps scene (x, y, z) to format (x, -y, z):
// forward = +Z, right = +X, down = -Y. Under that mapping the program's
// frustum numbers are the format's as they stand: yaw from +Z toward +X is a
// right turn (a right-hand turn about the format's +Y, down), pitch up is
// positive, roll is 0, and the side angles are signed from the view axis
// with right and up positive, left < right and down < up. All in degrees.
//
// Normalised coordinates: u = 0 on the left side plane, 1 on the right; v = 0
// on the down plane, 1 on the up plane (v grows upward, as a texture
// coordinate does); a direction at horizontal angle tx and vertical angle ty
// from the view axis (on the plane at distance 1: x = tan tx, y = tan ty)
// has u = (tan tx - tan left) / (tan right - tan left), and likewise v.
#pragma once

#include "host/d3dx/D3DXMath.h"
#include "rig/analyses/Frustum.h"

namespace rig {

// The seven numbers the format stores for a region, degrees.
struct FormatFrustum {
  float yaw, pitch, roll;
  float leftAngle, rightAngle, downAngle, upAngle;
};

FormatFrustum ToFormatFrustum(const Frustum& frustum);

// The view frame of a frustum seen from `eye`, computed in double.
class FrustumMapping {
 public:
  FrustumMapping(D3DXVECTOR3 eye, const Frustum& frustum);

  // The normalised coordinates of scene point `p` (u, v). False, with u and
  // v left alone, when `p` is not in front of the eye (on or behind the
  // plane through the eye across the view axis).
  bool Normalised(D3DXVECTOR3 p, float& u, float& v) const;

  // The unit direction, in the scene frame, of normalised point (u, v).
  D3DXVECTOR3 Direction(float u, float v) const;

  D3DXVECTOR3 Eye() const { return eye_; }

 private:
  D3DXVECTOR3 eye_;
  double forward_[3], right_[3], up_[3];
  double tanLeft_, tanDown_, tanWidth_, tanHeight_;
};

}  // namespace rig
