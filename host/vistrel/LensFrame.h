// The pinhole lens of one projector or camera, placed in the scene frame:
// its axes after roll, its field of view and keystone, and the mapping
// between normalised image points (u, v) and rays. Angles enter in degrees,
// lengths are in the scene's unit; the lens model is the one documented in
// Oru_Vistrel.h.
#pragma once

#include "host/d3dx/D3DXMath.h"

namespace vistrel {

class LensFrame {
 public:
  // A device at `position` aiming at `lookAt`, with full fields of view
  // `fovX`, `fovY` and the lens shift `keystone` (half image heights) and
  // `roll` (degrees). The lens is unusable when a field of view is not
  // strictly between 0 and 180 degrees (or so close to 180 that the tangent
  // of its half is not a positive finite float), or when an input is not
  // finite. position == lookAt is usable: the device then faces +Z.
  LensFrame(D3DXVECTOR3 position, D3DXVECTOR3 lookAt, float fovX, float fovY,
            float keystone, float roll);

  bool IsUsable() const { return usable_; }

  // Unit direction of the ray leaving the device through image point
  // (u, v). Points outside [0, 1] extend the image plane. The NaN vector for
  // an unusable lens, a u or v that is not finite, or a ray that overflows.
  D3DXVECTOR3 RayThrough(float u, float v) const;

  // Image point (u, v) at which the device sees the scene point `point`,
  // unclipped to [0, 1]. NaN coordinates for an unusable lens, a point that
  // is not in front of the device (on or behind the plane through its
  // position perpendicular to its forward axis), or a result that is not
  // finite.
  D3DXVECTOR2 ImagePointOf(D3DXVECTOR3 point) const;

 private:
  D3DXVECTOR3 position_;
  D3DXVECTOR3 forward_;
  D3DXVECTOR3 rolledRight_;  // image +u direction, after roll
  D3DXVECTOR3 rolledUp_;     // image -v direction, after roll
  float tanHalfFovX_;        // half image width on the plane at distance 1
  float tanHalfFovY_;        // half image height on the plane at distance 1
  float keystone_;
  bool usable_;
};

}  // namespace vistrel
