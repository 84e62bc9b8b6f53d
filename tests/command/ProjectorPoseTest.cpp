// Tests of the projector pose model: worked poses, to the bit where the values
// are exact floats (the automatic configuration's recovery test checks the
// model against the projection library over a search).
#include <gtest/gtest.h>

#include <cmath>

#include "pose/ProjectorPose.h"

namespace {

struct PoseInputs { float lookAtAngle, lookAtHeight, projectionAngleX, projectionAngleY, distance,
                    cameraLookAtAngle, cameraLookAtHeight, cylinderRadius; };

// The outputs start as NaN, so every test also checks that all three are overwritten.
ProjectorPose Pose(const PoseInputs& in) {
  const float nan = std::nanf("");
  ProjectorPose pose{{nan, nan, nan}, {nan, nan, nan}, {nan, nan, nan}};
  GetProjectorPose(in.lookAtAngle, in.lookAtHeight, in.projectionAngleX, in.projectionAngleY,
                   in.distance, in.cameraLookAtAngle, in.cameraLookAtHeight, in.cylinderRadius,
                   pose.projectorPosition, pose.projectorLookAt, pose.cameraLookAt);
  return pose;
}

// Tolerance 0 asks for the very same float, sign of zero included.
void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, double tolerance) {
  const float a[] = {actual.x, actual.y, actual.z}, e[] = {expected.x, expected.y, expected.z};
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(tolerance > 0 ? std::fabs(double{a[i]} - e[i]) <= tolerance
                              : a[i] == e[i] && std::signbit(a[i]) == std::signbit(e[i]))
        << "component " << i << ": " << a[i] << " vs " << e[i];
}

TEST(ProjectorPose, WorkedPosesGiveTheirPositionAndAimPoints) {
  struct Case { const char* name; PoseInputs in; ProjectorPose expected; double tolerance; };
  const Case cases[] = {  // expected: position, projector aim point, camera aim point
      {"straight on", {0, 1.5f, 0, 0, 2, 0, 1.2f, 5},
       {{0, 1.5f, 3}, {0, 1.5f, 5}, {0, 1.2f, 5}}, 0},
      {"aim at 90: its cosine is not 0 in float", {90, 1, 0, 0, 2, 0, 1.2f, 5},
       {{3, 1, -1.3e-7f}, {5, 1, -2.2e-7f}, {0, 1.2f, 5}}, 1e-8},
      {"projection X 30", {0, 1, 30, 0, 2, 0, 1.2f, 5},
       {{1, 1, 3.2679491f}, {0, 1, 5}, {0, 1.2f, 5}}, 1e-8},
      {"projection Y 30", {0, 1, 0, 30, 2, 0, 1.2f, 5},
       {{0, 2, 3.2679491f}, {0, 1, 5}, {0, 1.2f, 5}}, 1e-8},
      {"projection Y 120 at distance -2: both signs carry", {0, 1, 0, 120, -2, 0, 1.2f, 5},
       {{0, -0.7320508f, 4}, {0, 1, 5}, {0, 1.2f, 5}}, 1e-6},
      {"camera at 180", {0, 1, 0, 0, 2, 180, 1.2f, 5},
       {{0, 1, 3}, {0, 1, 5}, {-4.4e-7f, 1.2f, -5}}, 1e-8},
      // Aim points on the axis, the projector d sin b above; zeros signed by the cross product.
      {"radius 0, every sign negative", {-90, 1, -135, -30, 2, -90, 1.2f, 0},
       {{-0.0f, 0, -0.0f}, {-0.0f, 1, -0.0f}, {-0.0f, 1.2f, -0.0f}}, 0},
      {"negative radius: the normal still points at the axis", {0, 1.5f, 0, 0, 2, 0, 1.2f, -5},
       {{0, 1.5f, -3}, {0, 1.5f, -5}, {0, 1.2f, -5}}, 1e-8},
      // Uneven inputs pin the rounding: radians formed in double from the float
      // pi, then rounded; sine and cosine of that float, rounded before they scale.
      {"uneven 1", {-123.45f, -0.6f, 61.1f, 47.9f, 6.25f, -17.2f, 2.2f, 3.3f},
       {{-0x1.8afbeep+1f, 0x1.0263fp+2f, 0x1.2dd1fep+1f},
        {-0x1.606fcap+1f, -0x1.333334p-1f, -0x1.d1a954p+0f},
        {-0x1.f3a0dap-1f, 0x1.19999ap+1f, 0x1.938272p+1f}}, 0},
      {"uneven 2", {300.01f, 2.5f, -77.7f, 12.34f, 11.7f, 95.5f, 1.1f, 8.75f},
       {{-0x1.61b944p+3f, 0x1.400724p+2f, -0x1.a0bf92p+2f},
        {-0x1.e4ecdep+2f, 0x1.4p+1f, 0x1.1815b6p+2f},
        {0x1.16b6p+3f, 0x1.19999ap+0f, -0x1.ad63bp-1f}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProjectorPose pose = Pose(c.in);
    ExpectNear(pose.projectorPosition, c.expected.projectorPosition, c.tolerance);
    ExpectNear(pose.projectorLookAt, c.expected.projectorLookAt, c.tolerance);
    ExpectNear(pose.cameraLookAt, c.expected.cameraLookAt, c.tolerance);
  }
}

}  // namespace
