#include "tweaker/DistortionParameterTweaker.h"

#include "command/ProjectorPose.h"
#include "command/ScreenPoint.h"
#include "host/vistrel/Oru_Vistrel.h"

namespace {
enum : int {
  kLookatAngX,
  kLookatHeight,
  kProjectionAngX,
  kProjectionAngY,
  kDist,
  kFovX,
  kFovY,
  kKeystone,
  kRoll
};
}  // namespace

const D3DXVECTOR2 DistortionParameterTweaker::kGridPoints[kPointCount] = {
    {0.5f, 0.0f}, {1.0f, 0.0f}, {1.0f, 0.5f}, {1.0f, 1.0f},
    {0.5f, 1.0f}, {0.0f, 1.0f}, {0.0f, 0.5f}, {0.0f, 0.0f},
};

DistortionParameterTweaker::DistortionParameterTweaker(
    D3DXVECTOR3 cameraPositionIn, D3DXVECTOR3 cameraLookAtIn,
    D3DXVECTOR3 cameraFieldOfViewIn, float cylinderRadiusIn,
    const D3DXVECTOR2* pointShiftsIn,
    const ParameterRange (&ranges)[kParameterCount])
    : ParameterTweaker(),
      projectorParameters{
          {ranges[0].minVal, ranges[0].maxVal, ranges[0].value},
          {ranges[1].minVal, ranges[1].maxVal, ranges[1].value},
          {ranges[2].minVal, ranges[2].maxVal, ranges[2].value},
          {ranges[3].minVal, ranges[3].maxVal, ranges[3].value},
          {ranges[4].minVal, ranges[4].maxVal, ranges[4].value},
          {ranges[5].minVal, ranges[5].maxVal, ranges[5].value},
          {ranges[6].minVal, ranges[6].maxVal, ranges[6].value},
          {ranges[7].minVal, ranges[7].maxVal, ranges[7].value},
          {ranges[8].minVal, ranges[8].maxVal, ranges[8].value}},
      cylinderRadius(cylinderRadiusIn),
      cameraPosition(cameraPositionIn),
      cameraFieldOfView(cameraFieldOfViewIn) {
  const ScreenAngleAndHeight aim = ScreenPointOf(cameraLookAtIn);
  cameraLookAtAngle = aim.angle;
  cameraLookAtHeight = aim.height;
  for (int i = 0; i < kPointCount; ++i) pointShifts[i] = pointShiftsIn[i];
  ComputePose();
  for (int i = 0; i < kPointCount; ++i) {
    const D3DXVECTOR2 shifted(kGridPoints[i].x + pointShifts[i].x,
                              kGridPoints[i].y + pointShifts[i].y);
    targetCameraUV[i] = ToCamera(shifted);
  }
}

void DistortionParameterTweaker::TweakParameters(std::uint32_t tweakMask) {
  ClearParameters();
  for (int k = 0; k < kParameterCount; ++k) {
    if ((tweakMask >> k) & 1u)
      AddParameter(projectorParameters[k].ToTweakEntry());
  }
  Tweak();
}

float DistortionParameterTweaker::ComputeError() {
  ComputePose();
  float sum = 0.0f;
  for (int i = 0; i < kPointCount; ++i) {
    const D3DXVECTOR2 p = ToCamera(kGridPoints[i]);
    const float dx = targetCameraUV[i].x - p.x;
    const float dy = targetCameraUV[i].y - p.y;
    const float term = dx * dx + dy * dy;
    sum = sum + term;
  }
  return sum;
}

void DistortionParameterTweaker::CameraPoints(
    D3DXVECTOR2 (&points)[kPointCount]) const {
  for (int i = 0; i < kPointCount; ++i) points[i] = ToCamera(kGridPoints[i]);
}

void DistortionParameterTweaker::ComputePose() {
  GetProjectorPose(projectorParameters[kLookatAngX].storage,
                   projectorParameters[kLookatHeight].storage,
                   projectorParameters[kProjectionAngX].storage,
                   projectorParameters[kProjectionAngY].storage,
                   projectorParameters[kDist].storage, cameraLookAtAngle,
                   cameraLookAtHeight, cylinderRadius, projectorPosition,
                   projectorLookAt, cameraLookAt);
}

D3DXVECTOR2 DistortionParameterTweaker::ToCamera(D3DXVECTOR2 uv) const {
  const D3DXVECTOR3 projectorFov(projectorParameters[kFovX].storage,
                                 projectorParameters[kFovY].storage, 0.0f);
  return Oru_Vistrel::ProjUV2CamUV(uv, projectorPosition, projectorLookAt,
                                   cameraPosition, cameraLookAt, projectorFov,
                                   cameraFieldOfView, cylinderRadius,
                                   projectorParameters[kKeystone].storage,
                                   projectorParameters[kRoll].storage);
}
