// A calibration scene for tests and benchmarks of the projector fit: a camera near the axis of a
// screen cylinder of radius 5, and point shifts simulated from a "true" projector. Scene frame: Y
// up, cylinder about the Y axis, angles in degrees; shifts in normalised projector image units.
#pragma once

#include <array>
#include <cstdint>

#include "pose/ProjectorParameterTable.h"
#include "pose/ProjectorPose.h"
#include "pose/ScreenPoint.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "numeric/FloatRounding.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace fit_scene {

constexpr int kParameters = DistortionParameterTweaker::kParameterCount;
constexpr int kPoints = DistortionParameterTweaker::kPointCount;
using Shifts = std::array<D3DXVECTOR2, kPoints>;
using Ranges = ParameterRange[kParameters];
using Projector = ProjectorParameters;

// All of a fit but the projector: a camera near the axis aiming at the projector's aim point.
struct Scene {
  D3DXVECTOR3 cameraPosition{0.3f, 1.4f, -0.4f};
  D3DXVECTOR3 cameraLookAt{0.0f, 1.5f, 5.0f};
  D3DXVECTOR3 cameraFieldOfView{90.0f, 70.0f, 0.0f};
  float cylinderRadius = 5.0f;
};

// The projector assumed before calibration: aiming at screen angle 0, height
// 1.5, straight from the axis side, 3 units away, a 60 x 40 degree lens.
constexpr Projector kStartingProjector{0.0f, 1.5f, 0.0f, 0.0f, 3.0f, 60.0f, 40.0f, 0.0f, 0.0f};

// The projector as it really stands, against `assumed`: aimed 3 degrees
// further round and 0.15 higher, a 4 degree wider image, 2 degrees more roll.
// Only these four parameters (kMisplaced) differ.
constexpr std::uint32_t kMisplaced = (1u << 0) | (1u << 1) | (1u << 5) | (1u << 8);
inline Projector TrueProjector(const Projector& p = kStartingProjector) {
  return {p.ProjLookatAngX + 3.0f, p.ProjLookatHeight + 0.15f, p.ProjectionAngX, p.ProjectionAngY,
          p.ProjDist, p.ProjFovX + 4.0f, p.ProjFovY, p.ProjKeystone, p.ProjRoll + 2.0f};
}

inline float Get(const Projector& p, int k) { return ParameterOf(p, k); }

// Ranges centred on the starting projector that leave room for the true one.
inline void StandardRanges(Ranges& out) {
  const float halfWidth[] = {10.0f, 0.5f, 30.0f, 30.0f, 1.0f, 10.0f, 10.0f, 0.25f, 10.0f};
  for (int k = 0; k < kParameters; ++k) {
    const float start = Get(kStartingProjector, k);
    out[k] = {start - halfWidth[k], start + halfWidth[k], start};
  }
}

// The fit of `scene`, counting the error evaluations that its search makes.
struct Fit final : DistortionParameterTweaker {
  Fit(const Scene& s, const Shifts& shifts, const Ranges& ranges)
      : DistortionParameterTweaker(s.cameraPosition, s.cameraLookAt, s.cameraFieldOfView,
                                   s.cylinderRadius, shifts.data(), ranges) {}
  float ComputeError() override {
    ++evaluations;
    return DistortionParameterTweaker::ComputeError();
  }
  long evaluations = 0;
};

// Projector `p`'s image point `uv` in the camera's image (or, with toCamera false, the reverse),
// through the pose model, the camera aiming as the fit aims it.
inline D3DXVECTOR2 Map(const Scene& s, const Projector& p, D3DXVECTOR2 uv, bool toCamera) {
  const ScreenAngleAndHeight aim = ScreenPointOf(s.cameraLookAt);
  D3DXVECTOR3 position, lookAt, cameraAim;
  GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                   p.ProjDist, aim.angle, aim.height, s.cylinderRadius, position, lookAt,
                   cameraAim);
  const auto map = toCamera ? Oru_Vistrel::ProjUV2CamUV : Oru_Vistrel::CamUV2ProjUV;
  return map(uv, position, lookAt, s.cameraPosition, cameraAim,
             D3DXVECTOR3(p.ProjFovX, p.ProjFovY, 0.0f), s.cameraFieldOfView, s.cylinderRadius,
             p.ProjKeystone, p.ProjRoll);
}

// The shifts a measurement would report: where, in the assumed projector's image, the camera sees
// each grid point of the true projector, less the grid point.
inline Shifts SimulatedShifts(const Scene& s, const Projector& assumed, const Projector& truth) {
  Shifts shifts;
  for (int i = 0; i < kPoints; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    const D3DXVECTOR2 lit = Map(s, assumed, Map(s, truth, grid, true), false);
    shifts[static_cast<std::size_t>(i)] =
        D3DXVECTOR2(RoundToFloat(lit.x - grid.x), RoundToFloat(lit.y - grid.y));
  }
  return shifts;
}

// The fit's error of `p` against camera targets: the plain sum of the eight
// squared camera-image distances, accumulated in float.
inline float ErrorAgainst(const Scene& s, const Projector& p, const D3DXVECTOR2* targets) {
  float sum = 0.0f;
  for (int i = 0; i < kPoints; ++i) {
    const D3DXVECTOR2 seen = Map(s, p, DistortionParameterTweaker::kGridPoints[i], true);
    const float dx = RoundToFloat(targets[i].x - seen.x);
    const float dy = RoundToFloat(targets[i].y - seen.y);
    // Term and sum each rounded to float.
    sum = RoundToFloat(sum + RoundToFloat(RoundToFloat(dx * dx) + RoundToFloat(dy * dy)));
  }
  return sum;
}

}  // namespace fit_scene
