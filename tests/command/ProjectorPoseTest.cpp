// Tests of the projector pose model: worked poses to the bit, the closed form
// over a sweep of inputs, and the degenerate and negative inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "command/ProjectorPose.h"

namespace {

struct PoseInputs {
  float lookAtAngle, lookAtHeight, projectionAngleX, projectionAngleY, distance,
      cameraLookAtAngle, cameraLookAtHeight, cylinderRadius;
};

// The outputs start as NaN, so every test also checks that all three are
// overwritten.
ProjectorPose Pose(const PoseInputs& in) {
  const float nan = std::nanf("");
  ProjectorPose pose{{nan, nan, nan}, {nan, nan, nan}, {nan, nan, nan}};
  GetProjectorPose(in.lookAtAngle, in.lookAtHeight, in.projectionAngleX,
                   in.projectionAngleY, in.distance, in.cameraLookAtAngle,
                   in.cameraLookAtHeight, in.cylinderRadius,
                   pose.projectorPosition, pose.projectorLookAt,
                   pose.cameraLookAt);
  return pose;
}

std::uint32_t Bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void ExpectSameBits(const ProjectorPose& actual,
                    const ProjectorPose& expected) {
  for (auto [a, e] :
       {std::make_pair(actual.projectorPosition, expected.projectorPosition),
        std::make_pair(actual.projectorLookAt, expected.projectorLookAt),
        std::make_pair(actual.cameraLookAt, expected.cameraLookAt)}) {
    EXPECT_EQ(Bits(a.x), Bits(e.x)) << a.x << " vs " << e.x;
    EXPECT_EQ(Bits(a.y), Bits(e.y)) << a.y << " vs " << e.y;
    EXPECT_EQ(Bits(a.z), Bits(e.z)) << a.z << " vs " << e.z;
  }
}

void ExpectNear(const D3DXVECTOR3& actual, double x, double y, double z,
                double tolerance) {
  EXPECT_NEAR(actual.x, x, tolerance);
  EXPECT_NEAR(actual.y, y, tolerance);
  EXPECT_NEAR(actual.z, z, tolerance);
}

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected,
                double tolerance) {
  ExpectNear(actual, expected.x, expected.y, expected.z, tolerance);
}

// Worked poses. `exact` holds the float results of the documented steps,
// derived independently of this code (each step rounded to float, sine and
// cosine correctly rounded); `decimal` the values written in decimal.
struct WorkedPose {
  const char* name;
  PoseInputs in;
  ProjectorPose exact;
  ProjectorPose decimal;
};

const WorkedPose kWorkedPoses[] = {
    {"straight on",
     {0, 1.5f, 0, 0, 2, 0, 1.2f, 5},
     {{0, 1.5f, 3}, {0, 1.5f, 5}, {0, 1.2f, 5}},
     {{0, 1.5f, 3}, {0, 1.5f, 5}, {0, 1.2f, 5}}},
    {"aim at 90 degrees",
     {90, 1, 0, 0, 2, 0, 1.2f, 5},
     {{3, 1, -0x1.199bc6p-23f}, {5, 1, -0x1.d558f4p-23f}, {0, 1.2f, 5}},
     {{3, 1, -1.3e-7f}, {5, 1, -2.2e-7f}, {0, 1.2f, 5}}},
    {"projection angle X 30",
     {0, 1, 30, 0, 2, 0, 1.2f, 5},
     {{1, 1, 0x1.a24c28p+1f}, {0, 1, 5}, {0, 1.2f, 5}},
     {{1, 1, 3.2679491f}, {0, 1, 5}, {0, 1.2f, 5}}},
    {"projection angle Y 30",
     {0, 1, 0, 30, 2, 0, 1.2f, 5},
     {{0, 2, 0x1.a24c28p+1f}, {0, 1, 5}, {0, 1.2f, 5}},
     {{0, 2, 3.2679491f}, {0, 1, 5}, {0, 1.2f, 5}}},
    {"camera at 180 degrees",
     {0, 1, 0, 0, 2, 180, 1.2f, 5},
     {{0, 1, 3}, {0, 1, 5}, {-0x1.d558f4p-22f, 1.2f, -5}},
     {{0, 1, 3}, {0, 1, 5}, {-4.4e-7f, 1.2f, -5}}},
    // Radius 0 with every sign negative: the zeros keep the signs of the
    // written-out cross product (a shortened (-n.z, 0, n.x) flips x).
    {"radius 0, signed zeros",
     {-90, 1, -135, -30, 2, -90, 1.2f, 0},
     {{-0.0f, 0, -0.0f}, {-0.0f, 1, -0.0f}, {-0.0f, 1.2f, -0.0f}},
     {{0, 0, 0}, {0, 1, 0}, {0, 1.2f, 0}}},
};

// Uneven inputs, where the rounding of every step shows in the last bits: the
// radian conversion in double with the float pi, and sine and cosine in float
// rounded before they scale (taken in double, each of the four angles would
// change a result here). Results derived as for kWorkedPoses.
const std::pair<PoseInputs, ProjectorPose> kUnevenPoses[] = {
    {{37.3f, 1.37f, 23.7f, -11.3f, 2.71f, 201.9f, 0.83f, 4.9f},
     {{0x1.2c175p+1f, 0x1.ad8f9p-1f, 0x1.509b2p+0f},
      {0x1.7c1372p+1f, 0x1.5eb852p+0f, 0x1.f2ebc4p+1f},
      {-0x1.d3e034p+0f, 0x1.a8f5c2p-1f, -0x1.22f83p+2f}}},
    {{-123.45f, -0.6f, 61.1f, 47.9f, 6.25f, -17.2f, 2.2f, 3.3f},
     {{-0x1.8afbeep+1f, 0x1.0263fp+2f, 0x1.2dd1fep+1f},
      {-0x1.606fcap+1f, -0x1.333334p-1f, -0x1.d1a954p+0f},
      {-0x1.f3a0dap-1f, 0x1.19999ap+1f, 0x1.938272p+1f}}},
    {{300.01f, 2.5f, -77.7f, 12.34f, 11.7f, 95.5f, 1.1f, 8.75f},
     {{-0x1.61b944p+3f, 0x1.400724p+2f, -0x1.a0bf92p+2f},
      {-0x1.e4ecdep+2f, 0x1.4p+1f, 0x1.1815b6p+2f},
      {0x1.16b6p+3f, 0x1.19999ap+0f, -0x1.ad63bp-1f}}},
};

TEST(ProjectorPose, ResultsMatchTheFloatStepsToTheBit) {
  for (const WorkedPose& worked : kWorkedPoses) {
    SCOPED_TRACE(worked.name);
    ExpectSameBits(Pose(worked.in), worked.exact);
  }
  for (const auto& [in, exact] : kUnevenPoses) {
    SCOPED_TRACE(::testing::Message()
                 << "uneven, lookAtAngle " << in.lookAtAngle);
    ExpectSameBits(Pose(in), exact);
  }
}

TEST(ProjectorPose, WorkedPosesMatchTheirDecimalValues) {
  for (const WorkedPose& worked : kWorkedPoses) {
    SCOPED_TRACE(worked.name);
    const ProjectorPose pose = Pose(worked.in);
    ExpectNear(pose.projectorPosition, worked.decimal.projectorPosition, 1e-6);
    ExpectNear(pose.projectorLookAt, worked.decimal.projectorLookAt, 1e-6);
    ExpectNear(pose.cameraLookAt, worked.decimal.cameraLookAt, 1e-6);
  }
}

// For R > 0: position = L + d (cos b (cos a n + sin a c) + sin b (0, 1, 0)),
// with n = (-sin t, 0, -cos t) and c = (cos t, 0, -sin t), in double.
TEST(ProjectorPose, PositionFollowsTheClosedFormOverASweep) {
  const double kRad = 3.14159265358979323846 / 180.0;
  int cases = 0;
  for (float t : {0.0f, 37.5f, 90.0f, 180.0f, 263.0f, -45.0f, 359.0f, 720.0f})
    for (float a : {0.0f, 30.0f, -30.0f, 89.0f, 135.0f, -170.0f})
      for (float b : {0.0f, 30.0f, -45.0f, 80.0f})
        for (float d : {0.5f, 2.0f, 7.0f, 13.25f})
          for (float r : {0.75f, 5.0f, 12.0f})
            for (float h : {0.0f, 1.5f, -2.25f}) {
              const ProjectorPose pose = Pose({t, h, a, b, d, t + 10, -h, r});
              const double st = std::sin(t * kRad), ct = std::cos(t * kRad);
              const double horizontal = d * std::cos(b * kRad);
              const double ca = std::cos(a * kRad), sa = std::sin(a * kRad);
              // Float rounding of the radian values dominates: about 1e-7 of
              // the larger of the angles, times the lengths.
              const double tol =
                  4e-7 * (r + d + std::fabs(h)) * (1 + std::fabs(t) / 90);
              const double sc = std::sin((t + 10) * kRad),
                           cc = std::cos((t + 10) * kRad);
              ExpectNear(pose.projectorLookAt, r * st, h, r * ct, tol);
              ExpectNear(pose.cameraLookAt, r * sc, -h, r * cc, tol);
              ExpectNear(pose.projectorPosition,
                         r * st + horizontal * (ca * -st + sa * ct),
                         h + d * std::sin(b * kRad),
                         r * ct + horizontal * (ca * -ct + sa * -st), tol);
              if (::testing::Test::HasFailure()) {
                FAIL() << "t=" << t << " a=" << a << " b=" << b << " d=" << d
                       << " r=" << r << " h=" << h;
              }
              ++cases;
            }
  EXPECT_EQ(cases, 8 * 6 * 4 * 4 * 3 * 3);
}

TEST(ProjectorPose, ZeroRadiusPutsBothAimPointsOnTheAxisAndRaisesTheProjector) {
  for (float b : {0.0f, 30.0f, -60.0f, 90.0f}) {
    SCOPED_TRACE(b);
    const ProjectorPose pose = Pose({123, 1.5f, 40, b, 2, 77, 0.5f, 0});
    ExpectNear(pose.projectorLookAt, 0, 1.5, 0, 0);
    ExpectNear(pose.cameraLookAt, 0, 0.5, 0, 0);
    ExpectNear(pose.projectorPosition, 0,
               1.5 + 2 * std::sin(b * 3.14159265358979 / 180), 0, 1e-6);
  }
}

TEST(ProjectorPose, NegativeRadiusGivesThePoseOfTheOppositeScreenPoint) {
  const ProjectorPose mirrored = Pose({20, 1, 30, 15, 2, 50, 1.2f, -5});
  const ProjectorPose opposite = Pose({200, 1, 30, 15, 2, 230, 1.2f, 5});
  ExpectNear(mirrored.projectorPosition, opposite.projectorPosition, 1e-5);
  ExpectNear(mirrored.projectorLookAt, opposite.projectorLookAt, 1e-5);
  ExpectNear(mirrored.cameraLookAt, opposite.cameraLookAt, 1e-5);
}

TEST(ProjectorPose, NegativeDistanceMirrorsTheProjectorThroughItsAimPoint) {
  const ProjectorPose ahead = Pose({33, 1, 25, -10, 2.5f, 0, 0, 5});
  const ProjectorPose behind = Pose({33, 1, 25, -10, -2.5f, 0, 0, 5});
  const D3DXVECTOR3& l = ahead.projectorLookAt;
  const D3DXVECTOR3& p = ahead.projectorPosition;
  ExpectNear(behind.projectorPosition, 2 * l.x - p.x, 2 * l.y - p.y,
             2 * l.z - p.z, 1e-6);
}

}  // namespace
