// The eye's view of screen points: angles seen from the eye, their circular
// bounds, the central azimuth, and the framing built from them (which also
// covers the vertical plane projection).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "command/EyeFraming.h"
#include "command/EyeViewAngles.h"

namespace {

using namespace eye_view;

const float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr double kPiD = 3.14159265358979323846;

float Radians(double degrees) { return static_cast<float>(degrees * kPiD / 180.0); }

// The point of the cylinder of radius r about the Y axis at screen angle
// `degrees` and height y.
D3DXVECTOR3 OnCylinder(double r, double degrees, double y) {
  const double a = degrees * kPiD / 180.0;
  return D3DXVECTOR3(static_cast<float>(r * std::sin(a)), static_cast<float>(y),
                     static_cast<float>(r * std::cos(a)));
}

TEST(WrapAngleDifference, CorrectsOnceTowardMinusPiToPiAndKeepsPiItself) {
  const struct {
    float from, to, expected;
  } cases[] = {{0.1f, 6.2f, -0.18318531f}, {6.2f, 0.1f, 0.18318531f}, {1.0f, 2.5f, 1.5f},
               {0.0f, kPi, kPi},            {kPi, 0.0f, -kPi}};
  for (const auto& c : cases) {
    EXPECT_NEAR(WrapAngleDifference(c.from, c.to), c.expected, 1e-6) << c.from << " " << c.to;
  }
  EXPECT_EQ(WrapAngleDifference(0.0f, kPi), kPi);
  EXPECT_EQ(WrapAngleDifference(kPi, 0.0f), -kPi);
}

TEST(CalcViewAngles, MeasuresAzimuthFromPlusZTowardPlusXAndElevationAboveTheGround) {
  const D3DXVECTOR3 camera(1.0f, 2.0f, 3.0f);
  const struct {
    D3DXVECTOR3 offset;
    double azimuth, elevation;
  } cases[] = {
      {{0.0f, 0.0f, 1.0f}, 0.0, 0.0},
      {{0.0f, 0.0f, -1.0f}, kPiD, 0.0},  // straight behind
      {{1.0f, 0.0f, 0.0f}, kPiD / 2, 0.0},
      {{-1.0f, 0.0f, 0.0f}, 3 * kPiD / 2, 0.0},
      {{1.0f, 0.0f, 1.0f}, kPiD / 4, 0.0},
      {{-1.0f, 0.0f, 1.0f}, 7 * kPiD / 4, 0.0},
      {{-1.0f, 0.0f, -1.0f}, 5 * kPiD / 4, 0.0},
      {{0.0f, 1.0f, 1.0f}, 0.0, kPiD / 4},
      {{0.0f, -2.0f, -2.0f}, kPiD, -kPiD / 4},
  };
  std::vector<D3DXVECTOR3> points;
  for (const auto& c : cases) {
    points.emplace_back(camera.x + c.offset.x, camera.y + c.offset.y, camera.z + c.offset.z);
  }
  const std::vector<D3DXVECTOR2> angles = CalcViewAngles(camera, points);
  ASSERT_EQ(angles.size(), points.size());
  for (std::size_t i = 0; i < angles.size(); ++i) {
    EXPECT_NEAR(angles[i].x, cases[i].azimuth, 1e-6) << "case " << i;
    EXPECT_NEAR(angles[i].y, cases[i].elevation, 1e-6) << "case " << i;
    EXPECT_GE(angles[i].x, 0.0f);
    EXPECT_LT(angles[i].x, kTwoPi);
  }
}

TEST(FindAngularBounds, MovesOnlyTheBoundAnEntryLiesBeyondOnTheCircle) {
  const struct {
    const char* what;
    std::vector<D3DXVECTOR2> angles;
    D3DXVECTOR2 lower, upper;
  } cases[] = {
      {"350, 10, 0 degrees wrap through zero",
       {{Radians(350), 0}, {Radians(10), 0}, {Radians(0), 0}},
       {Radians(350), 0},
       {Radians(10), 0}},
      {"an inner entry changes nothing", {{0.1f, 0}, {0.5f, 0}, {0.3f, 0}}, {0.1f, 0}, {0.5f, 0}},
      {"a NaN entry changes nothing", {{0.1f, 0}, {kNaN, kNaN}, {0.5f, 0}}, {0.1f, 0}, {0.5f, 0}},
      {"the nearer bound moves", {{0.0f, 0}, {1.0f, 0}, {4.0f, 0}}, {4.0f, 0}, {1.0f, 0}},
      {"equal distances beyond both bounds move both",
       {{2.0f, 0}, {4.0f, 0}, {6.0f, 0}, {0.5f, 0}, {1.25f, 0}},
       {1.25f, 0},
       {1.25f, 0}},
      {"azimuth and elevation are bounded apart",
       {{0.1f, 0.3f}, {0.5f, -0.2f}, {0.3f, 0.1f}},
       {0.1f, -0.2f},
       {0.5f, 0.3f}},
  };
  for (const auto& c : cases) {
    D3DXVECTOR2 lower, upper;
    FindAngularBounds(c.angles, lower, upper);
    EXPECT_EQ(lower.x, c.lower.x) << c.what;
    EXPECT_EQ(lower.y, c.lower.y) << c.what;
    EXPECT_EQ(upper.x, c.upper.x) << c.what;
    EXPECT_EQ(upper.y, c.upper.y) << c.what;
  }
  D3DXVECTOR2 lower, upper;
  FindAngularBounds({}, lower, upper);
  EXPECT_TRUE(std::isnan(lower.x) && std::isnan(upper.y));
}

TEST(CentralAzimuth, LiesHalfwayUpFromLowerToUpperAndKeepsTwoPi) {
  // Bounds 350 and 10 degrees: the mean, 180, is on the far side and turns
  // to exactly 2 pi, which is not wrapped to 0.
  EXPECT_EQ(CentralAzimuth(Radians(350), Radians(10)), kTwoPi);
  EXPECT_NEAR(CentralAzimuth(0.2f, 0.6f), 0.4f, 1e-6);
  EXPECT_NEAR(CentralAzimuth(5.5f, 1.0f), (5.5 + 1.0 + 2 * kPiD) / 2 - 2 * kPiD, 1e-5);
}

TEST(GetDirectionFromAngles, GivesTheUnitVectorThatCalcViewAnglesMeasuresBack) {
  for (double az : {0.0, 30.0, 90.0, 135.0, 180.0, 260.0, 359.0}) {
    for (double el : {-60.0, 0.0, 25.0}) {
      const D3DXVECTOR3 d = GetDirectionFromAngles(Radians(az), Radians(el));
      const double a = az * kPiD / 180, e = el * kPiD / 180;
      EXPECT_NEAR(d.x, std::sin(a) * std::cos(e), 1e-6);
      EXPECT_NEAR(d.y, std::sin(e), 1e-6);
      EXPECT_NEAR(d.z, std::cos(a) * std::cos(e), 1e-6);
      const D3DXVECTOR2 back = CalcViewAngles(D3DXVECTOR3(0, 0, 0), {d})[0];
      EXPECT_NEAR(back.x, a, 1e-5) << az << " " << el;
      EXPECT_NEAR(back.y, e, 1e-5) << az << " " << el;
    }
  }
}

TEST(FrameScreenPoints, FramesPointsThatWrapThroughAzimuthZero) {
  const EyeFraming f = FrameScreenPoints(
      {0, 0, 0}, 5.0f, {OnCylinder(5, 350, 0), OnCylinder(5, 10, 0), OnCylinder(5, 0, 0)});
  EXPECT_NEAR(f.fieldOfView.x, 20.0, 1e-3);
  EXPECT_NEAR(f.fieldOfView.y, 0.0, 1e-4);
  EXPECT_EQ(f.fieldOfView.z, 0.0f);
  EXPECT_NEAR(f.lookAt.x, 0.0, 1e-4);
  EXPECT_NEAR(f.lookAt.y, 0.0, 1e-4);
  EXPECT_NEAR(f.lookAt.z, 5.0, 1e-4);
}

TEST(FrameScreenPoints, MeasuresTheVerticalExtentInThePlaneOfTheCentralAzimuth) {
  // A patch from 20 to 60 degrees and heights -1 to 2, seen from the axis.
  std::vector<D3DXVECTOR3> points;
  for (double a : {20.0, 40.0, 60.0}) {
    for (double y : {-1.0, 2.0}) points.push_back(OnCylinder(5, a, y));
  }
  const EyeFraming f = FrameScreenPoints({0, 0, 0}, 5.0f, points);
  EXPECT_NEAR(f.fieldOfView.x, 40.0, 1e-3);
  // Projected onto the plane at 40 degrees the outer columns lie nearest,
  // at 5 cos 20, so they bound the elevations.
  const double nearest = 5 * std::cos(20 * kPiD / 180);
  const double top = std::atan(2 / nearest), bottom = std::atan(-1 / nearest);
  EXPECT_NEAR(f.fieldOfView.y, (top - bottom) * 180 / kPiD, 1e-3);
  EXPECT_EQ(f.fieldOfView.z, 0.0f);
  // The look-at lies on the screen at 40 degrees, at the middle elevation.
  EXPECT_NEAR(std::atan2(f.lookAt.x, f.lookAt.z) * 180 / kPiD, 40.0, 1e-3);
  EXPECT_NEAR(std::hypot(f.lookAt.x, f.lookAt.z), 5.0, 1e-4);
  EXPECT_NEAR(std::atan2(f.lookAt.y, 5.0), (top + bottom) / 2, 1e-5);
}

TEST(FrameScreenPoints, ANaNPointIsPassedOverUnlessItComesFirst) {
  const std::vector<D3DXVECTOR3> points = {OnCylinder(5, -10, 0), OnCylinder(5, 30, 1)};
  const D3DXVECTOR3 miss(kNaN, kNaN, kNaN);
  const EyeFraming clean = FrameScreenPoints({0, 0, 0}, 5.0f, points);
  const EyeFraming later = FrameScreenPoints({0, 0, 0}, 5.0f, {points[0], miss, points[1]});
  EXPECT_EQ(later.fieldOfView.x, clean.fieldOfView.x);
  EXPECT_EQ(later.fieldOfView.y, clean.fieldOfView.y);
  EXPECT_EQ(later.lookAt.x, clean.lookAt.x);
  EXPECT_EQ(later.lookAt.z, clean.lookAt.z);

  for (const std::vector<D3DXVECTOR3>& nothing :
       {std::vector<D3DXVECTOR3>{miss, points[0], points[1]}, std::vector<D3DXVECTOR3>{}}) {
    const EyeFraming f = FrameScreenPoints({0, 0, 0}, 5.0f, nothing);
    EXPECT_TRUE(std::isnan(f.fieldOfView.x) && std::isnan(f.fieldOfView.y));
    EXPECT_EQ(f.fieldOfView.z, 0.0f);
    EXPECT_TRUE(std::isnan(f.lookAt.x) && std::isnan(f.lookAt.y) && std::isnan(f.lookAt.z));
  }
}

}  // namespace
