// Angles of screen points as seen from the eye, and their circular bounds:
// the pure geometry behind the camera parameter mode.
//
// Frame: Y up. Azimuth is measured about the Y axis from +Z toward +X, in
// radians in [0, 2*pi); elevation is the angle above the X-Z plane, positive
// toward +Y, in radians in [-pi/2, pi/2]. Every value is a 32-bit float and
// every named intermediate is rounded to one, so results are reproducible to
// the bit. Nothing here allocates beyond its result list, loops over
// anything but its input, or fails: NaN inputs give NaN results.
#pragma once

#include <vector>

#include "host/d3dx/D3DXMath.h"
#include "numeric/SinglePrecisionAngles.h"

namespace eye_view {

// The single-precision constants every angle computation of the mode uses.
constexpr float kPi = kSinglePrecisionPi;
constexpr float kTwoPi = kSinglePrecisionTwoPi;

// b - a, brought once toward (-pi, pi]: below -pi it gains 2*pi, then above
// pi it loses 2*pi. One correction each, no loop, so -pi and pi come back
// unchanged; for angles in [0, 2*pi) the result lies in [-pi, pi].
// WrapAngleDifference(0.1, 6.2) is 6.1 - 2*pi, about -0.18319.
float WrapAngleDifference(float from, float to);

// (azimuth, elevation) of each point as seen from `camera`, in the points'
// order. With d = point - camera: azimuth = atan(dx / dz), plus pi when
// dz < 0, plus 2*pi when still negative, so straight behind (dx = 0, dz < 0)
// is pi, dz = 0 with dx > 0 is pi/2 and with dx < 0 is 3*pi/2; elevation =
// atan(dy / sqrt(dx^2 + dz^2)). The arc tangent is taken in double and
// rounded once to float: as good as the correctly rounded float for all
// practical purposes, and less dependent on the math library than atanf.
// A NaN point, or one at the camera, gives NaN angles.
std::vector<D3DXVECTOR2> CalcViewAngles(D3DXVECTOR3 camera,
                                        const std::vector<D3DXVECTOR3>& points);

// Circular lower and upper bounds of the angle pairs, x (azimuth) and y
// (elevation) independently, in one pass. Both bounds start at the first
// entry. Each further entry moves the bound it lies beyond (a negative
// WrapAngleDifference from the lower bound, a positive one from the upper),
// provided it is not farther from that bound than from the other one; both
// differences are taken before either bound moves, so an entry at equal
// distance below the lower and above the upper bound moves both. An entry
// between the bounds changes nothing, and neither does a NaN entry. So a
// NaN first entry leaves that component's bounds NaN for good. The upper
// bound may be numerically below the lower one when the range wraps
// through 0 (lower 350 degrees, upper 10 degrees). An empty list gives NaN
// bounds.
void FindAngularBounds(const std::vector<D3DXVECTOR2>& angles, D3DXVECTOR2& lower,
                       D3DXVECTOR2& upper);

// Azimuth halfway from `lower` to `upper` going up (the central azimuth of
// bounds from FindAngularBounds): their mean, turned by pi when the mean lies
// on the far side of the circle (its distances to the two bounds add up to
// more than pi), then brought into range once: below 0 it gains 2*pi, above
// 2*pi it loses 2*pi, and exactly 2*pi stays 2*pi. Bounds 350 and 10
// degrees give 2*pi.
float CentralAzimuth(float lower, float upper);

// Unit direction of (azimuth, elevation): the third row of
// D3DXMatrixRotationYawPitchRoll(azimuth, -elevation, 0), which is
// (sin az cos el, sin el, cos az cos el). The inverse of CalcViewAngles.
D3DXVECTOR3 GetDirectionFromAngles(float azimuth, float elevation);

// Each point moved along `normal` onto the plane through `origin` with that
// normal: q - n ((q - origin) . n). The normal is used as given, not
// normalised; the result is a projection only when it has unit length.
std::vector<D3DXVECTOR3> ProjectPointsOntoPlane(D3DXVECTOR3 origin, D3DXVECTOR3 normal,
                                                const std::vector<D3DXVECTOR3>& points);

}  // namespace eye_view
