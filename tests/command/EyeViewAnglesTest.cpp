// The eye's view of screen points: angles seen from the eye, their circular
// bounds, the central azimuth, and the framing built from them.
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

// The point at screen angle `degrees` and height y on the cylinder of radius 5.
D3DXVECTOR3 OnScreen(double degrees, double y) {
  return D3DXVECTOR3(5 * std::sin(Radians(degrees)), static_cast<float>(y),
                     5 * std::cos(Radians(degrees)));
}

TEST(WrapAngleDifference, CorrectsOnceTowardMinusPiToPiAndKeepsPiItself) {
  const struct {
    float from, to, expected;
  } cases[] = {
      {0.1f, 6.2f, -0.18318531f}, {6.2f, 0.1f, 0.18318531f}, {0, kPi, kPi}, {kPi, 0, -kPi},
      {0, 3.5f, 3.5f - kTwoPi}};
  for (const auto& c : cases) {
    EXPECT_NEAR(WrapAngleDifference(c.from, c.to), c.expected, 1e-6) << c.from << " " << c.to;
  }
}

TEST(CalcViewAngles, PutsPointsBehindAndBesideTheEyeAtPiPiOver2And3PiOver2WithTheirElevation) {
  const D3DXVECTOR3 eye(1, 2, 3);
  const struct {
    D3DXVECTOR3 offset;
    double azimuth, elevation;
  } cases[] = {
      {{0, 1, -1}, kPiD, kPiD / 4}, {{1, 0, 0}, kPiD / 2, 0}, {{-1, 1, 0}, 3 * kPiD / 2, kPiD / 4}};
  for (const auto& c : cases) {
    const D3DXVECTOR3 point(eye.x + c.offset.x, eye.y + c.offset.y, eye.z + c.offset.z);
    const D3DXVECTOR2 angles = CalcViewAngles(eye, {point})[0];
    EXPECT_NEAR(angles.x, c.azimuth, 1e-6) << c.azimuth;
    EXPECT_NEAR(angles.y, c.elevation, 1e-6) << c.azimuth;
  }
}

TEST(FindAngularBounds, KeepsBoundsForAnInnerEntryAndMovesOnlyTheNearerForAnOuterOne) {
  D3DXVECTOR2 lower, upper;
  FindAngularBounds({{0.1f, 0}, {0.5f, 0}, {0.3f, 0}}, lower, upper);
  EXPECT_EQ(lower.x, 0.1f);
  EXPECT_EQ(upper.x, 0.5f);
  // 4 lies 2.28 below 0 around the circle but 3 above 1: the lower bound moves.
  FindAngularBounds({{0.0f, 0}, {1.0f, 0}, {4.0f, 0}}, lower, upper);
  EXPECT_EQ(lower.x, 4.0f);
  EXPECT_EQ(upper.x, 1.0f);
}

TEST(FrameScreenPoints, FramesPointsAt350And10And0DegreesAcrossAzimuthZero) {
  D3DXVECTOR2 lower, upper;
  FindAngularBounds({{Radians(350), 0}, {Radians(10), 0}, {Radians(0), 0}}, lower, upper);
  EXPECT_EQ(lower.x, Radians(350));
  EXPECT_EQ(upper.x, Radians(10));
  EXPECT_EQ(CentralAzimuth(lower.x, upper.x), kTwoPi);
  const EyeFraming f =
      FrameScreenPoints({0, 0, 0}, 5.0f, {OnScreen(350, 0), OnScreen(10, 0), OnScreen(0, 0)});
  EXPECT_NEAR(f.fieldOfView.x, 20.0, 1e-3);
  EXPECT_NEAR(f.lookAt.x, 0.0, 1e-4);
  EXPECT_NEAR(f.lookAt.z, 5.0, 1e-4);
}

TEST(FrameScreenPoints, PassesOverANaNPointUnlessItComesFirst) {
  const D3DXVECTOR3 miss(kNaN, kNaN, kNaN), a = OnScreen(-10, 0), b = OnScreen(30, 1);
  const EyeFraming clean = FrameScreenPoints({0, 0, 0}, 5.0f, {a, b});
  const EyeFraming later = FrameScreenPoints({0, 0, 0}, 5.0f, {a, miss, b});
  EXPECT_EQ(later.fieldOfView.x, clean.fieldOfView.x);
  EXPECT_EQ(later.fieldOfView.y, clean.fieldOfView.y);
  const EyeFraming first = FrameScreenPoints({0, 0, 0}, 5.0f, {miss, a, b});
  EXPECT_TRUE(std::isnan(first.fieldOfView.x) && std::isnan(first.lookAt.x));
  EXPECT_EQ(first.fieldOfView.z, 0.0f);
}

}  // namespace
