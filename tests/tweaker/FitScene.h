// A calibration scene for tests of the projector fit: a projector inside a
// screen cylinder of radius 5, a camera near the axis aiming at the
// projector's aim point, and point shifts simulated from a "true" projector
// that differs slightly from the assumed one. Scene frame: Y up, cylinder
// about the Y axis, angles in degrees; shifts in normalised image units.
#pragma once

#include <array>

#include "command/ProjectorPose.h"
#include "command/ScreenPoint.h"
#include "host/d3dx/D3DXMath.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace fit_scene {

using Shifts = std::array<D3DXVECTOR2, DistortionParameterTweaker::kPointCount>;
using Ranges = ParameterRange[DistortionParameterTweaker::kParameterCount];

// Everything of a fit that is not a projector parameter.
struct Scene {
  D3DXVECTOR3 cameraPosition;
  D3DXVECTOR3 cameraLookAt;
  D3DXVECTOR3 cameraFieldOfView;
  float cylinderRadius;
};

// The projector assumed before calibration: aiming at screen angle 0,
// height 1.5, straight from the axis side, 3 units away, a 60 x 40 degree
// lens without keystone or roll.
inline ProjectorParameters StartingProjector() {
  return ProjectorParameters{0.0f, 1.5f, 0.0f, 0.0f, 3.0f, 60.0f, 40.0f, 0.0f, 0.0f};
}

// The projector as it really stands: aimed 3 degrees further round and
// 0.15 higher, with a 4 degree wider image and 2 degrees of roll.
inline ProjectorParameters TrueProjector() {
  ProjectorParameters p = StartingProjector();
  p.ProjLookatAngX = 3.0f;
  p.ProjLookatHeight = 1.65f;
  p.ProjFovX = 64.0f;
  p.ProjRoll = 2.0f;
  return p;
}

// The camera stands near the axis and aims at the starting projector's aim
// point, (0, 1.5, 5), with a 90 x 70 degree view.
inline Scene StandardScene() {
  return Scene{D3DXVECTOR3(0.3f, 1.4f, -0.4f), D3DXVECTOR3(0.0f, 1.5f, 5.0f),
               D3DXVECTOR3(90.0f, 70.0f, 0.0f), 5.0f};
}

inline float Get(const ProjectorParameters& p, int k) {
  const float* values = &p.ProjLookatAngX;
  return values[k];
}

// Ranges centred on `start`, each 2 * halfWidth[k] wide.
inline void RangesAround(const ProjectorParameters& start,
                         const std::array<float, 9>& halfWidth, Ranges& out) {
  for (int k = 0; k < DistortionParameterTweaker::kParameterCount; ++k) {
    out[k] = ParameterRange{Get(start, k) - halfWidth[k], Get(start, k) + halfWidth[k],
                            Get(start, k)};
  }
}

// Ranges that leave room for the true projector: 10 degrees of aim, half a
// unit of height, 30 degrees of projection angle, one unit of distance, 10
// degrees of field of view, a quarter of keystone and 10 degrees of roll to
// either side.
inline void StandardRanges(const ProjectorParameters& start, Ranges& out) {
  RangesAround(start, {10.0f, 0.5f, 30.0f, 30.0f, 1.0f, 10.0f, 10.0f, 0.25f, 10.0f}, out);
}

// Both image mappings for projector `p`, through the pose model, with the
// camera's aim point named as the fit names it.
class Mapping {
 public:
  Mapping(const Scene& scene, const ProjectorParameters& p) : scene_(scene), p_(p) {
    const ScreenAngleAndHeight aim = ScreenPointOf(scene.cameraLookAt);
    GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                     p.ProjDist, aim.angle, aim.height, scene.cylinderRadius, position_, lookAt_,
                     cameraAim_);
  }
  D3DXVECTOR2 ToCamera(D3DXVECTOR2 projectorUV) const {
    return Oru_Vistrel::ProjUV2CamUV(projectorUV, position_, lookAt_, scene_.cameraPosition,
                                     cameraAim_, D3DXVECTOR3(p_.ProjFovX, p_.ProjFovY, 0.0f),
                                     scene_.cameraFieldOfView, scene_.cylinderRadius,
                                     p_.ProjKeystone, p_.ProjRoll);
  }
  D3DXVECTOR2 ToProjector(D3DXVECTOR2 cameraUV) const {
    return Oru_Vistrel::CamUV2ProjUV(cameraUV, position_, lookAt_, scene_.cameraPosition,
                                     cameraAim_, D3DXVECTOR3(p_.ProjFovX, p_.ProjFovY, 0.0f),
                                     scene_.cameraFieldOfView, scene_.cylinderRadius,
                                     p_.ProjKeystone, p_.ProjRoll);
  }

 private:
  Scene scene_;
  ProjectorParameters p_;
  D3DXVECTOR3 position_, lookAt_, cameraAim_;
};

// The shifts a measurement would report: grid point i is lit by the true
// projector and seen by the camera; the shift is how far, in the assumed
// projector's image, that camera point lies from the grid point. With these
// shifts the fit's targets are where the camera sees the true projector's
// grid points.
inline Shifts SimulatedShifts(const Scene& scene, const ProjectorParameters& assumed,
                              const ProjectorParameters& truth) {
  const Mapping assumedMapping(scene, assumed);
  const Mapping trueMapping(scene, truth);
  Shifts shifts;
  for (int i = 0; i < DistortionParameterTweaker::kPointCount; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    const D3DXVECTOR2 lit = assumedMapping.ToProjector(trueMapping.ToCamera(grid));
    shifts[static_cast<std::size_t>(i)] = D3DXVECTOR2(lit.x - grid.x, lit.y - grid.y);
  }
  return shifts;
}

// The fit's error of projector `p` against fixed camera targets: the sum of
// the eight squared camera-image distances, accumulated in float.
inline float ErrorAgainst(const Scene& scene, const ProjectorParameters& p,
                          const D3DXVECTOR2 (&targets)[DistortionParameterTweaker::kPointCount]) {
  const Mapping mapping(scene, p);
  float sum = 0.0f;
  for (int i = 0; i < DistortionParameterTweaker::kPointCount; ++i) {
    const D3DXVECTOR2 seen = mapping.ToCamera(DistortionParameterTweaker::kGridPoints[i]);
    const float dx = targets[i].x - seen.x;
    const float dy = targets[i].y - seen.y;
    const float term = dx * dx + dy * dy;
    sum = sum + term;
  }
  return sum;
}

}  // namespace fit_scene
