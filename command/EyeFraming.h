// Where the eye should look, and how wide it must see, to take in a set of
// points on the screen cylinder: the look-at point and field of view that
// the camera parameter mode reports for the projectors' footprints.
//
// Frame: Y up, the screen is the cylinder about the Y axis (screen angle 0
// toward +Z, growing toward +X). Points and the look-at are in the scene's
// unit; the field of view is in degrees. Every value is a 32-bit float.
#pragma once

#include <vector>

#include "host/d3dx/D3DXMath.h"

namespace eye_view {

struct EyeFraming {
  D3DXVECTOR3 lookAt;       // where the central view direction meets the screen
  D3DXVECTOR3 fieldOfView;  // (horizontal degrees, vertical degrees, 0)
};

// Frames `points` as seen from `camera`:
//  - horizontally: the circular azimuth bounds of the points
//    (FindAngularBounds), the central azimuth m between them
//    (CentralAzimuth) and the horizontal field of view, twice the angle from
//    m to the lower bound; a set that wraps through azimuth 0 is framed
//    across it;
//  - vertically: every point moved onto the vertical plane through the
//    camera that contains azimuth m, the elevation bounds of those, their
//    mean e and the vertical field of view, twice the angle from e to the
//    lower bound;
//  - the look-at: where the ray from the camera in direction (m, e) meets
//    the cylinder of `radius`.
// Radians become degrees as (angle * 180) / 3.1415927 in float.
//
// Meant for points that span less than half the circle as seen from the
// camera, as projectors side by side on one screen do: for wider sets the
// one-pass bounds and the central azimuth rule no longer find the smallest
// range that holds them all.
//
// A point that is NaN (a projector ray that missed the screen) is passed
// over by the bounds, unless it is the first point: the bounds start there,
// so then both fields of view and the look-at come out NaN (the field of
// view's z stays 0). A central ray that meets no cylinder (radius 0, for
// one) gives a NaN look-at; the field of view is computed all the same.
// An empty list frames nothing: all NaN but the z of the field of view.
EyeFraming FrameScreenPoints(D3DXVECTOR3 camera, float radius,
                             const std::vector<D3DXVECTOR3>& points);

}  // namespace eye_view
