// The "AutoConfigParameters" mode: searches, within each parameter's range,
// the projector parameters that account for eight measured point shifts,
// and writes the nine values back.
#include <cstdint>

#include "command/ChildChannels.h"
#include "command/ChildLayout.h"
#include "command/VistrelCommand.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "tweaker/DistortionParameterTweaker.h"

void VistrelCommand::AutoConfigParameters() {
  using namespace autoconfig_child;
  constexpr int kParameters = DistortionParameterTweaker::kParameterCount;

  Oru_VectorChannel* camera[3];
  for (int i = 0; i < 3; ++i) camera[i] = VectorChild(*this, kCameraPosition + i);
  Oru_FloatChannel* ranges[3 * kParameters];
  for (int i = 0; i < 3 * kParameters; ++i) ranges[i] = ValueChild(*this, kFirstRange + i);
  Oru_FloatChannel* radius = ValueChild(*this, kCylinderRadius);
  Oru_VectorChannel* pointArray = VectorChild(*this, kDistortionPointArray);
  Oru_FloatChannel* pointIndex = ValueChild(*this, kDistortionPointIndex);
  for (Oru_VectorChannel* child : camera) {
    if (child == nullptr) return;
  }
  for (Oru_FloatChannel* child : ranges) {
    if (child == nullptr) return;
  }
  if (radius == nullptr || pointArray == nullptr || pointIndex == nullptr) return;

  D3DXVECTOR2 shifts[DistortionParameterTweaker::kPointCount];
  Oru_Vistrel::ReadPointShifts(this, kDistortionPointArray, kDistortionPointIndex, shifts);

  const D3DXVECTOR3 cameraPosition = camera[0]->GetVector();
  const D3DXVECTOR3 cameraLookat = camera[1]->GetVector();
  const D3DXVECTOR3 cameraFieldOfView = camera[2]->GetVector();
  ParameterRange parameters[kParameters];
  for (int k = 0; k < kParameters; ++k) {
    parameters[k].minVal = ranges[3 * k]->GetFloat();
    parameters[k].maxVal = ranges[3 * k + 1]->GetFloat();
    parameters[k].value = ranges[3 * k + 2]->GetFloat();
  }
  const float cylinderRadius = radius->GetFloat();

  DistortionParameterTweaker tweaker(cameraPosition, cameraLookat, cameraFieldOfView,
                                     cylinderRadius, shifts, parameters);
  std::uint32_t tweakMask = 0;
  for (int k = 0; k < kParameters; ++k) {
    Oru_FloatChannel* onOff = ValueChild(*this, Switch(k));
    // 1.0 or more is on; below, NaN, or no switch at all is off.
    if (onOff != nullptr && onOff->GetFloat() >= 1.0f) tweakMask |= 1u << k;
  }
  tweaker.TweakParameters(tweakMask);

  for (int k = 0; k < kParameters; ++k) ranges[3 * k + 2]->SetFloat(*tweaker.Parameter(k).value);
}
