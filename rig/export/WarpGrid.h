// The geometry warp of one projector: for each point of a uniform grid over
// its image, where in the image rendered through its frustum that image
// point must take its colour from.
//
// Grid: W x H points, sample (i, j) at image point ((i + 0.5) / W,
// (j + 0.5) / H) from the image's top-left corner, rows top first; with
// W equal to the horizontal resolution, sample i is pixel i's centre. One
// sample per `step` pixels: W = max(2, resolution / step) (integer
// division), so samples are never closer than `step` pixels.
// Value: (u, v, 0), the normalised coordinates (FrustumMapping) of the
// screen point the projector lights through that image point, seen from
// the eye; the third value is the error estimate, 0 because the mapping is
// exact up to float rounding. A point whose ray misses the screen, lands
// outside the screen extent or behind the eye has no content: (NaN, NaN, 1).
#pragma once

#include <array>
#include <vector>

#include "rig/analyses/ScreenTrace.h"
#include "rig/export/ExtentMembership.h"
#include "rig/export/FrustumMapping.h"

namespace rig {

struct WarpGridSize {
  int width = 0, height = 0;
};

WarpGridSize WarpGridSizeFor(std::array<int, 2> resolution, int step);

// The level of the format's 3d profile a grid needs: 1 when it has no more
// than one point per 10 pixels each way, else 3.
int ProfileLevelOf(std::array<int, 2> resolution, WarpGridSize grid);

struct WarpSample {
  float u, v, error;
};

// The warp value for screen point p (NaN when the ray missed) at screen
// angle `angle`.
WarpSample WarpAt(D3DXVECTOR3 p, float angle, const ExtentMembership& extent,
                  const FrustumMapping& frustum);

// The whole grid, 3 floats per sample, rows top first, computed on
// `threads` threads (0: all).
std::vector<float> ComputeWarpGrid(const ProjectorLens& lens, float radius,
                                   const ExtentMembership& extent, const FrustumMapping& frustum,
                                   WarpGridSize grid, int threads);

}  // namespace rig
