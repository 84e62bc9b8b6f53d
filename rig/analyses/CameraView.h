// A measuring camera as the projection library sees it, and the two
// mappings between a projector's image and that camera's image. The
// camera's look-at is the screen point of its aim (angle, height), placed
// by the pose model exactly as the conversion mode places it. Image units:
// u 0 (left) to 1 (right), v 0 (top) to 1 (bottom), for the projector and
// the camera alike.
#pragma once

#include <array>
#include <optional>

#include "host/d3dx/D3DXMath.h"
#include "rig/scene/Scene.h"

namespace rig {

struct CameraView {
  D3DXVECTOR3 position;
  D3DXVECTOR3 lookAt;  // a screen point
  D3DXVECTOR3 fieldOfView;  // full angles (x, y, unused), degrees
  std::optional<std::array<int, 2>> imageSize;  // pixels, when known
};

// `camera` on the screen of `scene`, its look-at placed by the pose model.
CameraView ViewOf(const Scene& scene, const Camera& camera);

// Where the camera sees the spot lit through projector image point `uv` of
// a projector with parameters `p`: NaN when the ray misses the screen or
// the spot is behind the camera; outside [0, 1] when it is off its image.
D3DXVECTOR2 ProjectorToCamera(const Scene& scene, const CameraView& camera,
                              const ProjectorParameters& p, D3DXVECTOR2 uv);
// The projector image point that lights the spot the camera sees at `uv`
// (the camera ray's hit on the screen): NaN when it misses the screen or
// the spot is behind the projector.
D3DXVECTOR2 CameraToProjector(const Scene& scene, const CameraView& camera,
                              const ProjectorParameters& p, D3DXVECTOR2 uv);

}  // namespace rig
