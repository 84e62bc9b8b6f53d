#include "command/ChildLayout.h"

namespace {
constexpr ChildKind V = ChildKind::kValue;
constexpr ChildKind VV = ChildKind::kValueVector;
}  // namespace

const ChildSlot kConvertParametersChildren[convert_child::kCount] = {
    {"Projector Lookat Angle X", V},
    {"Projector Lookat Height", V},
    {"Projection Angle X", V},
    {"Projection Angle Y", V},
    {"Projector Distance", V},
    {"Camera Lookat Angle", V},
    {"Camera Lookat Height", V},
    {"Cylinder Radius", V},
    {"out: Projector Position", VV},
    {"out: Projector Lookat", VV},
    {"out: Camera Lookat", VV},
};

const ChildSlot kCalcCameraParametersChildren[camera_child::kCount] = {
    {"Projector Position", VV},
    {"Projector LookAt", VV},
    {"Projector Field of View", VV},
    {"Camera Position", VV},
    {"Cylinder Radius", V},
    {"Projector Keystone", V},
    {"Projector Roll Angle", V},
    {"Projector Count", V},
    {"Projector Index", V},
    {"Eye Lookat", VV},
    {"Eye Field of View", VV},
};

const ChildSlot kAutoConfigParametersChildren[autoconfig_child::kCount] = {
    {"Camera Position", VV},
    {"Camera Lookat", VV},
    {"Camera Field of View", VV},
    {"ProjLookatAngXMin", V},
    {"ProjLookatAngXMax", V},
    {"ProjLookatAngX", V},
    {"ProjLookatHeightMin", V},
    {"ProjLookatHeightMax", V},
    {"ProjLookatHeight", V},
    {"ProjectionAngXMin", V},
    {"ProjectionAngXMax", V},
    {"ProjectionAngX", V},
    {"ProjectionAngYMin", V},
    {"ProjectionAngYMax", V},
    {"ProjectionAngY", V},
    {"ProjDistMin", V},
    {"ProjDistMax", V},
    {"ProjDist", V},
    {"ProjFovXMin", V},
    {"ProjFovXMax", V},
    {"ProjFovX", V},
    {"ProjFovYMin", V},
    {"ProjFovYMax", V},
    {"ProjFovY", V},
    {"ProjKeystoneMin", V},
    {"ProjKeystoneMax", V},
    {"ProjKeystone", V},
    {"ProjRollMin", V},
    {"ProjRollMax", V},
    {"ProjRoll", V},
    {"Cylinder Radius", V},
    {"DistortionPoint Array", VV},
    {"DistortionPoint Index", V},
    {"Tweak ProjLookatAngX", V},
    {"Tweak ProjLookatHeight", V},
    {"Tweak ProjectionAngX", V},
    {"Tweak ProjectionAngY", V},
    {"Tweak ProjDist", V},
    {"Tweak ProjFovX", V},
    {"Tweak ProjFovY", V},
    {"Tweak ProjKeystone", V},
    {"Tweak ProjRoll", V},
};
