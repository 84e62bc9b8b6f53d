// Fits a projector's pose and lens parameters to eight measured point
// shifts. The shifts are in normalised projector image units, one for each
// of eight points on the image border (GridPoints). At construction the
// tweaker maps each shifted point through the starting parameters into the
// camera's image: those are its targets. Its error, for trial parameters,
// is how far the unshifted points land from the targets in the camera
// image: the plain sum of the eight squared distances.
//
// Scene frame of the pose model: Y up, screen cylinder about the Y axis,
// screen angle 0 toward +Z growing toward +X; angles in degrees. Lens
// parameters and image coordinates are the projection math library's.
#pragma once

#include <cstdint>

#include "host/d3dx/D3DXMath.h"
#include "pose/ProjectorPose.h"
#include "tweaker/BoundedParameter.h"
#include "tweaker/ParameterTweaker.h"

// The range and starting value of one projector parameter.
struct ParameterRange {
  float minVal;
  float maxVal;
  float value;
};

class DistortionParameterTweaker : private ParameterTweaker {
 public:
  static constexpr int kParameterCount = kProjectorParameterCount;
  // The measured points: four corners and four edge midpoints.
  static constexpr int kPointCount = 8;

  // The eight projector image points (u, v) whose shifts are measured: the
  // edge midpoints and corners along the border, from the midpoint of v = 0.
  static const D3DXVECTOR2 kGridPoints[kPointCount];

  // `ranges` holds, in ProjectorParameters order (ProjLookatAngX,
  // ProjLookatHeight, ProjectionAngX, ProjectionAngY, ProjDist, ProjFovX,
  // ProjFovY, ProjKeystone, ProjRoll), each parameter's minimum, maximum and
  // starting value; a starting value outside its range starts at the range's
  // midpoint. `pointShifts` points at eight shifts, copied.
  //
  // The camera's aim point: the screen point named by `cameraLookAt`, that
  // is its screen angle atan2(x, z) and its height y (ScreenPointOf). They
  // are fixed here and, like the parameters, go through the pose model in
  // construction and in every error evaluation alike, so a look-at on the
  // cylinder is used as it is and one off it is moved straight out from
  // the axis onto the screen.
  //
  // Throws TweakerError "minVal bigger than maxVal" for the first reversed
  // range, in parameter order, whether or not it will be searched.
  //
  // The search's parameter list is reserved here for all nine parameters:
  // construction makes the tweaker's one heap allocation, and
  // TweakParameters and every error evaluation make none.
  DistortionParameterTweaker(D3DXVECTOR3 cameraPosition,
                             D3DXVECTOR3 cameraLookAt,
                             D3DXVECTOR3 cameraFieldOfView,
                             float cylinderRadius,
                             const D3DXVECTOR2* pointShifts,
                             const ParameterRange (&ranges)[kParameterCount]);
  ~DistortionParameterTweaker() = default;
  DistortionParameterTweaker(const DistortionParameterTweaker&) = delete;
  DistortionParameterTweaker& operator=(const DistortionParameterTweaker&) =
      delete;

  // Searches the parameters whose bit is set (bit k for parameter k, bit 0
  // ProjLookatAngX to bit 8 ProjRoll; bits 9 and up are ignored), one after
  // the other in parameter order, once each. The others keep their values
  // and still take part in every error evaluation. Throws TweakerError
  // "invalid interval size" when a selected parameter's minimum equals its
  // maximum; the parameters searched before it keep their new values.
  void TweakParameters(std::uint32_t tweakMask);

  // The error of the current values: one pose computation and eight
  // image mappings, allocating nothing. Lower is better; 0 when every grid
  // point lands on its target. NaN from a mapping enters the sum.
  float ComputeError() override;

  // Parameter k after construction or a search.
  const BoundedParameter& Parameter(int k) const {
    return projectorParameters[k];
  }
  const D3DXVECTOR2& Target(int i) const { return targetCameraUV[i]; }
  float CameraLookAtAngle() const { return cameraLookAtAngle; }
  float CameraLookAtHeight() const { return cameraLookAtHeight; }
  // The grid points' camera image points under the current lens values and
  // the pose of the last ComputeError (construction computes the starting
  // one): the points whose distances to the targets entered that error.
  void CameraPoints(D3DXVECTOR2 (&points)[kPointCount]) const;

 private:
  // Maps the kPointCount projector image points `uv` into the camera image
  // under the pose last computed and the current lens values, setting up
  // the two lenses once for all of them (Oru_Vistrel::ProjUV2CamUVBatch).
  void ToCamera(const D3DXVECTOR2* uv, D3DXVECTOR2* cameraUV) const;
  void ComputePose();

  BoundedParameter projectorParameters[kParameterCount];
  float cylinderRadius;
  D3DXVECTOR3 cameraPosition;
  D3DXVECTOR3 cameraFieldOfView;
  float cameraLookAtAngle;
  float cameraLookAtHeight;
  D3DXVECTOR2 pointShifts[kPointCount];
  D3DXVECTOR2 targetCameraUV[kPointCount];
  D3DXVECTOR3 projectorPosition;
  D3DXVECTOR3 projectorLookAt;
  D3DXVECTOR3 cameraLookAt;
};
