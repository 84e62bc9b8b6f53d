// The outline of each projector's image traced onto the screen cylinder:
// eight image points per projector, read from the camera parameter mode's
// per-projector children.
//
// Frame: the scene frame (Y up, the screen is the cylinder about the Y axis);
// points in the scene's unit, 32-bit floats. Image points (u, v) run 0 to 1
// across the projector image, as the projection math library defines them.
#pragma once

#include <vector>

#include "host/d3dx/D3DXMath.h"

class Oru_FloatChannel;
class Oru_VectorChannel;

namespace eye_view {

// The most projectors one evaluation traces. Each costs 8 samples of five
// child reads and one ray traced to the cylinder. Measured in a Release
// build on the development machine (2 x86-64 cores, shared): 1.7 to 2.0 ms
// for one evaluation of 1024 projectors whose position and look-at are
// index-driven lists, about 1.8 µs per projector, so at most about an
// eighth of a 16.7 ms frame. (Far beyond it, "Projector Index" values above
// 2^24 would no longer be distinct floats.) A larger count is refused like
// a count below 1.
constexpr int kMaxProjectorCount = 1024;

// The image points traced for every projector, in this order: the four
// corners (0,0) (1,0) (0,1) (1,1), then the midpoints of the edges v = 0,
// u = 1, u = 0 and v = 1. Only x (u) and y (v) are used.
constexpr int kFootprintSampleCount = 8;
extern const D3DXVECTOR3 kFootprintSamples[kFootprintSampleCount];

// The children that describe projector i once "Projector Index" holds i.
// None may be null.
struct ProjectorChildren {
  Oru_VectorChannel* position;     // "Projector Position"
  Oru_VectorChannel* lookAt;       // "Projector LookAt"
  Oru_VectorChannel* fieldOfView;  // "Projector Field of View": x, y used
  Oru_FloatChannel* keystone;      // "Projector Keystone"
  Oru_FloatChannel* roll;          // "Projector Roll Angle"
  Oru_FloatChannel* index;         // "Projector Index": written
};

// For i = 0 .. count - 1: writes i to the index child, then for each sample
// reads position, field of view, look-at, roll and keystone, in this order
// and anew for every sample (so a child that depends on the index, or on
// anything else the host changes between reads, is followed), and appends
// where the projector's ray through the sample meets the cylinder of
// `radius`. The result holds 8 points per projector, projector by projector,
// in sample order. A ray that misses the cylinder is appended as the
// library's NaN point. The index child is left at count - 1; a count below
// 1 or above kMaxProjectorCount writes and reads nothing and gives an empty
// list. Work and memory: at most 8 * kMaxProjectorCount points, reserved
// whole before the first child is touched.
std::vector<D3DXVECTOR3> CollectFootprintPoints(int count, float radius,
                                                const ProjectorChildren& children);

}  // namespace eye_view
