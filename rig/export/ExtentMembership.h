// Whether a screen point lies on the part of the screen the rig must cover
// (the scene's extent). Scene frame: Y up, screen angle atan2(x, z) in
// degrees, 0 toward +Z growing toward +X; heights in the scene's unit. An
// extent without angles (or without heights) leaves that direction open.
#pragma once

#include "host/d3dx/D3DXMath.h"
#include "rig/scene/Scene.h"

namespace rig {

class ExtentMembership {
 public:
  explicit ExtentMembership(const ScreenExtent& extent);

  // True when the screen angle `angle` (degrees, any turn) lies in the
  // angle range, bounds included. The range runs from `from` toward growing
  // angle, so it may cross +-180.
  bool ContainsAngle(float angle) const;
  bool ContainsHeight(float height) const;
  // Both, for a scene point whose screen angle is `angle`.
  bool Contains(D3DXVECTOR3 point, float angle) const {
    return ContainsHeight(point.y) && ContainsAngle(angle);
  }

  bool HasAngles() const { return !allAngles_; }
  bool HasHeights() const { return !allHeights_; }
  float From() const { return from_; }
  float Span() const { return span_; }  // degrees, (0, 360]
  float Bottom() const { return bottom_; }
  float Top() const { return top_; }

 private:
  bool allAngles_ = true, allHeights_ = true;
  float from_ = 0, span_ = 360;
  float bottom_ = 0, top_ = 0;
};

// The screen angle of a scene point in degrees, (-180, 180].
float ScreenAngleOf(D3DXVECTOR3 point);

}  // namespace rig
