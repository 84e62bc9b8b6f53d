// Where a device's image lands on the screen cylinder, traced through the
// projection library, and the screen unrolled: a scene point becomes its
// screen angle (degrees) and height. Frame: Y up, screen angle 0 toward +Z
// growing toward +X; lengths in the scene's unit.
#pragma once

#include <vector>

#include "host/d3dx/D3DXMath.h"

namespace rig {

// A projector as the library sees it: pose and lens.
struct ProjectorLens {
  D3DXVECTOR3 position;
  D3DXVECTOR3 lookAt;
  float fovX, fovY;  // full angles, degrees
  float keystone;    // half image heights
  float roll;        // degrees
};

// A point of the unrolled screen. `angle` is unwrapped: it lies within 180
// degrees of the reference angle it was unrolled against, so an outline
// that crosses 180 degrees stays in one piece.
struct UnrolledPoint {
  float angle;   // degrees
  float height;  // scene unit
};

// The scene point lit through image point (u, v); NaN when the ray misses.
D3DXVECTOR3 ScreenPointOfImage(const ProjectorLens& lens, float radius, float u, float v);

// The image border traced onto the screen, `pointsPerEdge` points per edge
// (at least 1), going round from (0, 0) through (1, 0), (1, 1) and (0, 1).
// Points whose ray misses are left out.
std::vector<D3DXVECTOR3> TraceImageBorder(const ProjectorLens& lens, float radius,
                                          int pointsPerEdge);

// The screen point seen from `eye` in direction (azimuth, elevation)
// degrees (azimuth from +Z toward +X): NaN when that ray meets no screen.
D3DXVECTOR3 ScreenPointSeenFrom(D3DXVECTOR3 eye, float radius, float azimuth, float elevation);

// Screen angle in degrees, unwrapped to within 180 of `reference`, and height.
UnrolledPoint Unroll(D3DXVECTOR3 point, float reference);
// A closed outline unrolled in one piece: each point's angle unwrapped
// against the previous point's, then the whole outline turned by whole
// turns so that the middle of its angle extent lies within 180 degrees of
// `reference`. An outline round the back of the screen stays whole.
std::vector<UnrolledPoint> UnrollOutline(const std::vector<D3DXVECTOR3>& points, float reference);

}  // namespace rig

#include "pose/ProjectorPose.h"

namespace rig {

// The library's view of a projector given by its nine parameters: the pose
// model places it (the camera aim plays no part in the projector's pose).
ProjectorLens LensOf(const ProjectorParameters& p, float radius);

}  // namespace rig
