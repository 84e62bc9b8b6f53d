#include "tweaker/DistortionParameterTweaker.h"

#include "pose/ProjectorParameterTable.h"
#include "pose/ProjectorPose.h"
#include "pose/ScreenPoint.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "numeric/FloatRounding.h"

using namespace projector_parameter;

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
  parameters.reserve(kParameterCount);
  ComputePose();
  D3DXVECTOR2 shifted[kPointCount];
  for (int i = 0; i < kPointCount; ++i) {
    shifted[i] = D3DXVECTOR2(RoundToFloat(kGridPoints[i].x + pointShifts[i].x),
                             RoundToFloat(kGridPoints[i].y + pointShifts[i].y));
  }
  ToCamera(shifted, targetCameraUV);
}

void DistortionParameterTweaker::TweakParameters(std::uint32_t tweakMask) {
  ClearParameters();
  for (int k = 0; k < kParameterCount; ++k) {
    if (HasParameter(tweakMask, k))
      AddParameter(projectorParameters[k].ToTweakEntry());
  }
  Tweak();
}

float DistortionParameterTweaker::ComputeError() {
  ComputePose();
  D3DXVECTOR2 seen[kPointCount];
  ToCamera(kGridPoints, seen);
  float sum = 0.0f;
  for (int i = 0; i < kPointCount; ++i) {
    const float dx = RoundToFloat(targetCameraUV[i].x - seen[i].x);
    const float dy = RoundToFloat(targetCameraUV[i].y - seen[i].y);
    const float term = RoundToFloat(RoundToFloat(dx * dx) + RoundToFloat(dy * dy));
    sum = RoundToFloat(sum + term);
  }
  return sum;
}

void DistortionParameterTweaker::CameraPoints(
    D3DXVECTOR2 (&points)[kPointCount]) const {
  ToCamera(kGridPoints, points);
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

void DistortionParameterTweaker::ToCamera(const D3DXVECTOR2* uv,
                                          D3DXVECTOR2* cameraUV) const {
  const D3DXVECTOR3 projectorFov(projectorParameters[kFovX].storage,
                                 projectorParameters[kFovY].storage, 0.0f);
  Oru_Vistrel::ProjUV2CamUVBatch(uv, kPointCount, cameraUV, projectorPosition,
                                 projectorLookAt, cameraPosition, cameraLookAt,
                                 projectorFov, cameraFieldOfView,
                                 cylinderRadius,
                                 projectorParameters[kKeystone].storage,
                                 projectorParameters[kRoll].storage);
}
