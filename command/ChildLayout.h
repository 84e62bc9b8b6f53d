// The child slots of the calibration command in each mode: names, kinds and
// the fixed indices by which the mode computations reach them. Every slot is
// declared at the next running index, in table order.
#pragma once

#include <cstddef>

enum class ChildKind { kValue, kValueVector };

struct ChildSlot {
  const char* name;
  ChildKind kind;
};

// "ConvertParameters" (also built for any mode name that is not one of the
// other three).
namespace convert_child {
enum : int {
  kProjectorLookatAngleX = 0,
  kProjectorLookatHeight,
  kProjectionAngleX,
  kProjectionAngleY,
  kProjectorDistance,
  kCameraLookatAngle,
  kCameraLookatHeight,
  kCylinderRadius,
  kProjectorPositionOut,
  kProjectorLookatOut,
  kCameraLookatOut,
  kCount
};
}  // namespace convert_child

// "CalcCameraParameters".
namespace camera_child {
enum : int {
  kProjectorPosition = 0,
  kProjectorLookAt,
  kProjectorFieldOfView,
  kCameraPosition,
  kCylinderRadius,
  kProjectorKeystone,
  kProjectorRollAngle,
  kProjectorCount,
  kProjectorIndex,
  kEyeLookat,
  kEyeFieldOfView,
  kCount
};
}  // namespace camera_child

// "AutoConfigParameters". Parameter k (in ProjectorParameters order) has its
// minimum at kFirstRange + 3k, maximum at kFirstRange + 3k + 1 and value at
// kFirstRange + 3k + 2; its switch is at kFirstSwitch + k.
namespace autoconfig_child {
enum : int {
  kCameraPosition = 0,
  kCameraLookat = 1,
  kCameraFieldOfView = 2,
  kFirstRange = 3,
  kCylinderRadius = 30,
  kDistortionPointArray = 31,
  kDistortionPointIndex = 32,
  kFirstSwitch = 33,
  kCount = 42
};
constexpr int Minimum(int k) { return kFirstRange + 3 * k; }
constexpr int Maximum(int k) { return kFirstRange + 3 * k + 1; }
constexpr int Value(int k) { return kFirstRange + 3 * k + 2; }
constexpr int Switch(int k) { return kFirstSwitch + k; }
}  // namespace autoconfig_child

extern const ChildSlot kConvertParametersChildren[convert_child::kCount];
extern const ChildSlot kCalcCameraParametersChildren[camera_child::kCount];
extern const ChildSlot kAutoConfigParametersChildren[autoconfig_child::kCount];
