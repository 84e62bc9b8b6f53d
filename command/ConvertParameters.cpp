// The "ConvertParameters" mode: a projector given by its aim on the screen,
// projection angles and distance, and a camera aim given by angle and
// height, turned into scene points.
#include "command/ChildChannels.h"
#include "command/ChildLayout.h"
#include "pose/ProjectorPose.h"
#include "command/VistrelCommand.h"

void VistrelCommand::ConvertParameters() {
  using namespace convert_child;
  Oru_FloatChannel* inputs[kProjectorPositionOut];
  for (int i = 0; i < kProjectorPositionOut; ++i) inputs[i] = ValueChild(*this, i);
  Oru_VectorChannel* outputs[kCount - kProjectorPositionOut];
  for (int i = kProjectorPositionOut; i < kCount; ++i) {
    outputs[i - kProjectorPositionOut] = VectorChild(*this, i);
  }
  for (Oru_FloatChannel* input : inputs) {
    if (input == nullptr) return;
  }
  for (Oru_VectorChannel* output : outputs) {
    if (output == nullptr) return;
  }

  float values[kProjectorPositionOut];
  for (int i = 0; i < kProjectorPositionOut; ++i) values[i] = inputs[i]->GetFloat();
  D3DXVECTOR3 projectorPosition, projectorLookAt, cameraLookAt;
  GetProjectorPose(values[kProjectorLookatAngleX], values[kProjectorLookatHeight],
                   values[kProjectionAngleX], values[kProjectionAngleY],
                   values[kProjectorDistance], values[kCameraLookatAngle],
                   values[kCameraLookatHeight], values[kCylinderRadius], projectorPosition,
                   projectorLookAt, cameraLookAt);
  outputs[0]->SetVector(projectorPosition);
  outputs[1]->SetVector(projectorLookAt);
  outputs[2]->SetVector(cameraLookAt);
}
