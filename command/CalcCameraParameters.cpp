// The "CalcCameraParameters" mode: traces every projector's image outline
// onto the screen cylinder and sets the eye's look-at point and field of
// view so that the eye sees all of them.
#include <climits>
#include <cmath>

#include "command/ChildChannels.h"
#include "command/ChildLayout.h"
#include "command/EyeFraming.h"
#include "command/ProjectorFootprint.h"
#include "command/VistrelCommand.h"

namespace {

// "Projector Count" truncated toward zero. A value outside int's range
// saturates there and NaN counts as 0, where a plain conversion would be
// undefined.
int TruncateCount(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return INT_MAX;
  if (value <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(value);
}

// The eye's look-at point and field of view for `count` projectors, or false
// (outputs untouched, no child written or read) when count is below 1 or
// above eye_view::kMaxProjectorCount.
bool CalcEyeView(D3DXVECTOR3 camera, int count, float radius,
                 const eye_view::ProjectorChildren& projectors, D3DXVECTOR3& lookAt,
                 D3DXVECTOR3& fieldOfView) {
  if (count < 1 || count > eye_view::kMaxProjectorCount) return false;
  const eye_view::EyeFraming framing = eye_view::FrameScreenPoints(
      camera, radius, eye_view::CollectFootprintPoints(count, radius, projectors));
  lookAt = framing.lookAt;
  fieldOfView = framing.fieldOfView;
  return true;
}

}  // namespace

void VistrelCommand::CalcCameraParameters() {
  using namespace camera_child;
  Oru_VectorChannel* const projectorPosition = VectorChild(*this, kProjectorPosition);
  Oru_VectorChannel* const projectorLookAt = VectorChild(*this, kProjectorLookAt);
  Oru_VectorChannel* const projectorFieldOfView = VectorChild(*this, kProjectorFieldOfView);
  Oru_VectorChannel* const cameraPosition = VectorChild(*this, kCameraPosition);
  Oru_FloatChannel* const cylinderRadius = ValueChild(*this, kCylinderRadius);
  Oru_FloatChannel* const projectorKeystone = ValueChild(*this, kProjectorKeystone);
  Oru_FloatChannel* const projectorRoll = ValueChild(*this, kProjectorRollAngle);
  Oru_FloatChannel* const projectorCount = ValueChild(*this, kProjectorCount);
  Oru_FloatChannel* const projectorIndex = ValueChild(*this, kProjectorIndex);
  Oru_VectorChannel* const eyeLookat = VectorChild(*this, kEyeLookat);
  Oru_VectorChannel* const eyeFieldOfView = VectorChild(*this, kEyeFieldOfView);
  if (projectorPosition == nullptr || projectorLookAt == nullptr ||
      projectorFieldOfView == nullptr || cameraPosition == nullptr ||
      cylinderRadius == nullptr || projectorKeystone == nullptr || projectorRoll == nullptr ||
      projectorCount == nullptr || projectorIndex == nullptr || eyeLookat == nullptr ||
      eyeFieldOfView == nullptr) {
    return;
  }

  const float radius = cylinderRadius->GetFloat();
  const D3DXVECTOR3 camera = cameraPosition->GetVector();
  const int count = TruncateCount(projectorCount->GetFloat());

  const eye_view::ProjectorChildren projectors{projectorPosition, projectorLookAt,
                                               projectorFieldOfView, projectorKeystone,
                                               projectorRoll, projectorIndex};
  D3DXVECTOR3 lookAt, fieldOfView;
  if (!CalcEyeView(camera, count, radius, projectors, lookAt, fieldOfView)) return;
  eyeLookat->SetVector(lookAt);
  eyeFieldOfView->SetVector(fieldOfView);
}
